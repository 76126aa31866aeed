# The libraries the tests and the benchmarks share: the test helpers (scratch folders, file
# helpers, a hand-moved clock) and the headless day harness. The folder loop of tests/ only makes
# test programs, so these are defined here, for tests and benchmarks alike; the game never
# links them.
set(test_lib_dir ${CMAKE_CURRENT_LIST_DIR})

file(GLOB support_srcs CONFIGURE_DEPENDS "${test_lib_dir}/support/*.cpp")
add_library(fl_testsupport STATIC ${support_srcs})
fairlark_project_flags(fl_testsupport)
target_include_directories(fl_testsupport PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(fl_testsupport PUBLIC fl_engine GTest::gtest)

file(GLOB sim_srcs CONFIGURE_DEPENDS "${test_lib_dir}/sim/*.cpp")
add_library(fl_simharness STATIC ${sim_srcs})
fairlark_project_flags(fl_simharness)
target_include_directories(fl_simharness PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(fl_simharness PUBLIC fl_game fl_script fl_testsupport fl_engine)
