# Host libraries. Only src/platform and tools link them directly.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)

if(TAVREL_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(TAVREL_BENCH)
  find_package(benchmark REQUIRED)
endif()
