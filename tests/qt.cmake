# GUI and live-link tests: tests/<area>/qt/*.cpp, one executable per area,
# with a main that constructs a QApplication on the offscreen platform.
# Imported Qt targets are local to the directory that found them.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network SerialPort Svg Test)
foreach(area acquisition document image sim app dialogs tools)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/qt/*.cpp)
  if(sources)
    add_executable(test_${area}_qt ${sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/QtTestMain.cpp)
    target_link_libraries(test_${area}_qt PRIVATE velmaris_core GTest::gtest GTest::gmock Qt6::Widgets Qt6::Network)
    foreach(edge acquisition document image sim app dialogs)
      if(TARGET velmaris_${edge}_qt)
        target_link_libraries(test_${area}_qt PRIVATE velmaris_${edge}_qt)
      endif()
    endforeach()
    target_include_directories(test_${area}_qt PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(test_${area}_qt PRIVATE
      VELMARIS_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
      VELMARIS_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(test_${area}_qt DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endforeach()

# The shell's tests drive hot keys through QTest's key events, which pass
# through the shortcut map as a real key press does.
if(TARGET test_app_qt)
  target_link_libraries(test_app_qt PRIVATE Qt6::Test)
endif()
