# The Qt edges: one library per room that has a qt/ folder, each on top of
# its own room and the edges below it, and the station program. What differs
# between the platforms sits in a qt/ folder's posix/ or windows/ folder.
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network SerialPort Svg WebSockets)
find_package(GIF REQUIRED)

function(velmaris_qt_edge room)
  # The headers are listed so that moc finds a class whose implementation
  # sits in a platform folder, away from its header.
  file(GLOB edge_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${room}/qt/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/${room}/qt/*.h ${CMAKE_CURRENT_SOURCE_DIR}/${room}/qt/${VELMARIS_PLATFORM}/*.cpp)
  list(FILTER edge_sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(velmaris_${room}_qt STATIC ${edge_sources} ${ARGN})
  target_link_libraries(velmaris_${room}_qt PUBLIC velmaris_${room})
endfunction()

# The sonar view and the picture writer; the view's cursor is SVG compiled
# in (resources/view.qrc).
velmaris_qt_edge(image ${CMAKE_CURRENT_SOURCE_DIR}/resources/view.qrc)
target_link_libraries(velmaris_image_qt PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets PRIVATE Qt6::Svg GIF::GIF)

# Serial worker, sockets, the timer host.
velmaris_qt_edge(links)
target_link_libraries(velmaris_links_qt PUBLIC Qt6::Core Qt6::Network Qt6::SerialPort)

# Settings panel, mini settings bar and the small dialogs.
velmaris_qt_edge(controls)
target_link_libraries(velmaris_controls_qt PUBLIC Qt6::Widgets Qt6::SerialPort Qt6::Svg)

# The web view's HTTP and WebSocket server; its page is compiled in
# (web/qt/web.qrc).
velmaris_qt_edge(web ${CMAKE_CURRENT_SOURCE_DIR}/web/qt/web.qrc)
target_link_libraries(velmaris_web_qt PUBLIC velmaris_image_qt Qt6::Core Qt6::Network Qt6::WebSockets)

# Main frame, bars, hot keys, the application object; the toolbar artwork is
# SVG compiled in (resources/velmaris.qrc).
velmaris_qt_edge(shell ${CMAKE_CURRENT_SOURCE_DIR}/resources/velmaris.qrc)
target_link_libraries(velmaris_shell_qt PUBLIC velmaris_controls_qt velmaris_links_qt velmaris_image_qt velmaris_web_qt velmaris_sim
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg)

# The program, which scripts/run.sh finds at <build>/bin/velmaris.
add_executable(velmaris ${CMAKE_CURRENT_SOURCE_DIR}/shell/qt/main.cpp)
target_link_libraries(velmaris PRIVATE velmaris_shell_qt)
set_target_properties(velmaris PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
