# Qt edges: one library per area that has a qt/ subfolder, plus the station.
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network SerialPort Svg)
find_package(GIF REQUIRED)

foreach(area acquisition document image sim)
  file(GLOB area_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/qt/*.cpp)
  if(area_sources)
    add_library(velmaris_${area}_qt STATIC ${area_sources})
    target_link_libraries(velmaris_${area}_qt PUBLIC velmaris_core Qt6::Core Qt6::Gui Qt6::Network Qt6::SerialPort)
    if(area STREQUAL "image")
      target_link_libraries(velmaris_${area}_qt PRIVATE GIF::GIF)
      target_link_libraries(velmaris_${area}_qt PUBLIC Qt6::Widgets) # the sonar view
    endif()
  endif()
endforeach()

# Operator controls: settings panel, mini settings bar and the small dialogs.
file(GLOB dialogs_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/*.cpp)
if(dialogs_sources)
  add_library(velmaris_dialogs_qt STATIC ${dialogs_sources})
  target_link_libraries(velmaris_dialogs_qt PUBLIC velmaris_core Qt6::Widgets)
endif()

# The station: main frame, bars and hot keys (src/app) and the program,
# which scripts/run.sh finds at <build>/src/app/velmaris.
file(GLOB VELMARIS_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp)
list(REMOVE_ITEM VELMARIS_APP_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
# The toolbar artwork is SVG compiled into the library (resources/velmaris.qrc).
add_library(velmaris_app_qt STATIC ${VELMARIS_APP_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/resources/velmaris.qrc)
target_link_libraries(velmaris_app_qt PUBLIC velmaris_core velmaris_acquisition_qt velmaris_image_qt velmaris_dialogs_qt
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg)
add_executable(velmaris ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(velmaris PRIVATE velmaris_app_qt)
set_target_properties(velmaris PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/app)
