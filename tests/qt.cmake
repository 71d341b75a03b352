# GUI and live-link tests: tests/<room>/qt/*.cpp, one executable per room,
# linked with that room's Qt edge (the station's live-cycle tests with the
# links' edge), with a main that constructs a QApplication offscreen.
# Imported Qt targets are local to the directory that found them.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network SerialPort Svg Test)
function(velmaris_qt_test_area area)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/qt/*.cpp)
  if(sources)
    add_executable(test_${area}_qt ${sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/QtTestMain.cpp)
    target_link_libraries(test_${area}_qt PRIVATE ${ARGN} velmaris_sim GTest::gtest GTest::gmock
      Qt6::Widgets Qt6::Network Qt6::Test)
    target_include_directories(test_${area}_qt PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(test_${area}_qt PRIVATE
      VELMARIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      VELMARIS_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(test_${area}_qt DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

velmaris_qt_test_area(image velmaris_image_qt)
velmaris_qt_test_area(links velmaris_links_qt)
velmaris_qt_test_area(station velmaris_station velmaris_links_qt)
velmaris_qt_test_area(controls velmaris_controls_qt)
velmaris_qt_test_area(shell velmaris_shell_qt)
velmaris_qt_test_area(tools velmaris_station velmaris_links_qt) # replay into the UDP listener
