# What `cmake --install` puts where a Linux desktop finds it.

set(ORVELA_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)

# The program itself is installed by src/CMakeLists.txt (bin/orvela).

# The shared data folder: <prefix>/share/orvela/Kestrin Software/Orvela/...
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/Kestrin Software"
  DESTINATION ${ORVELA_DATA_INSTALL_DIR})

install(FILES ${ORVELA_RESOURCE_DIR}/desktop/orvela.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

install(FILES ${ORVELA_RESOURCE_DIR}/icons/orvela.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${ORVELA_RESOURCE_DIR}/icons/orvela-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME orvela.png)
endforeach()
