# The memcheck driver target, with absolute paths so that it can be read
# from any directory (CMakeLists.txt here, or project_hook.cmake).
if(NOT TARGET pigmo_qt OR TARGET pigmo_memcheck_driver)
  return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(pigmo_memcheck_driver ${CMAKE_CURRENT_LIST_DIR}/form1_memcheck.cpp)
target_link_libraries(pigmo_memcheck_driver PRIVATE pigmo_qt pigmo_core Qt6::Widgets Qt6::Test)
