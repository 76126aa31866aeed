# Sourced by the test scripts: exports the tests' environment from tests/test.env (the one place
# it is written). Usage: source tests/test_env.sh
test_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
while IFS= read -r test_env_line; do
  [[ $test_env_line =~ ^[A-Z_]+= ]] || continue
  export "${test_env_line//@SOURCE_DIR@/$test_env_root}"
done <"$test_env_root/tests/test.env"
unset test_env_line test_env_root
