# The tests' environment, read from tests/test.env (the one place it is written).
# FAIRLARK_TEST_ENV: what every test program and fuzz replay runs with.
# FAIRLARK_E2E_ENV: the same for programs on a virtual X display (X11, not EGL surfaceless).
file(STRINGS ${PROJECT_SOURCE_DIR}/tests/test.env test_env_lines REGEX "^[A-Z_]+=")
set(FAIRLARK_TEST_ENV "")
foreach(line ${test_env_lines})
  string(REPLACE "@SOURCE_DIR@" "${PROJECT_SOURCE_DIR}" line "${line}")
  list(APPEND FAIRLARK_TEST_ENV "${line}")
endforeach()
set(FAIRLARK_E2E_ENV ${FAIRLARK_TEST_ENV})
list(FILTER FAIRLARK_E2E_ENV EXCLUDE REGEX "^EGL_PLATFORM=")
list(APPEND FAIRLARK_E2E_ENV "SDL_VIDEODRIVER=x11")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/test.env)
