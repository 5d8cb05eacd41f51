# Lets scripts/memcheck build the memcheck driver with the main project
# without the project listing it: passed as CMAKE_PROJECT_Pigmo_INCLUDE, it
# reads driver.cmake once the top-level CMakeLists.txt has been read, when
# pigmo_core and pigmo_qt exist. (EVAL fixes the path now: a deferred
# call would expand the variable only when it runs.)
cmake_language(EVAL CODE
  "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL include [[${CMAKE_CURRENT_LIST_DIR}/driver.cmake]])")
