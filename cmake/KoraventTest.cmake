# Test plumbing shared by every layer.
#
#   kv_add_test(NAME n SOURCES a.cpp ... LIBS lib ... [DPIS 120 144 ...])
#
# builds a GoogleTest executable and registers it with CTest. Native builds run it
# directly; Windows builds run it through scripts/wine-test.sh (wine64 inside Xvfb, in
# this build folder's private prefix). Windows tests share one prefix, so they run one
# at a time; native tests run beside them. DPIS runs a Windows test again at each of those
# display scales (n_dpi144...), each scale in a prefix of its own.
if(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KV_GTEST_LIBS GTest::gtest GTest::gmock)
  set(KV_GTEST_MAIN GTest::gtest_main)
else()
  find_package(GTest REQUIRED)
  set(KV_GTEST_LIBS GTest::gtest GTest::gmock)
  set(KV_GTEST_MAIN GTest::gtest_main)
endif()

set(KV_WINE_TEST ${CMAKE_SOURCE_DIR}/scripts/wine-test.sh)
set(KV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

function(kv_add_test)
  cmake_parse_arguments(T "OWN_MAIN" "NAME;TIMEOUT" "SOURCES;LIBS;DPIS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${KV_GTEST_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)  # support/ helpers
  if(NOT T_OWN_MAIN)
    target_link_libraries(${T_NAME} PRIVATE ${KV_GTEST_MAIN})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(name "${KV_TEST_PREFIX}${T_NAME}")
  if(WIN32)
    add_test(NAME ${name} COMMAND ${KV_WINE_TEST} ${KV_WINE_PREFIX} $<TARGET_FILE:${T_NAME}>)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wineprefix)
    foreach(dpi ${T_DPIS})
      add_test(NAME ${name}_dpi${dpi}
               COMMAND ${KV_WINE_TEST} --dpi ${dpi} ${KV_WINE_PREFIX}-dpi${dpi} $<TARGET_FILE:${T_NAME}>)
      set_tests_properties(${name}_dpi${dpi} PROPERTIES RESOURCE_LOCK wineprefix-dpi${dpi} TIMEOUT ${T_TIMEOUT}
                           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endforeach()
  else()
    add_test(NAME ${name} COMMAND ${T_NAME})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
