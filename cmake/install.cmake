# What `cmake --install` puts where a Linux desktop finds it. `cmake --install --strip`
# strips the program.

set(ORVELA_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)
# The application id: the .desktop file, the AppStream component and the Wayland app id
# (platform/identity.h) all carry it.
set(ORVELA_APP_ID com.kestrinsoftware.orvela)

# The programs themselves are installed by src/CMakeLists.txt (bin/orvela, bin/orvela-run).

# The shared data folder: <prefix>/share/orvela/Kestrin Software/Orvela/...
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/Kestrin Software"
  DESTINATION ${ORVELA_DATA_INSTALL_DIR})

install(FILES ${ORVELA_RESOURCE_DIR}/desktop/${ORVELA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The example setups, the setup files' schema and their format notes.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/examples" DESTINATION ${ORVELA_DATA_INSTALL_DIR})
install(FILES "${PROJECT_SOURCE_DIR}/data/orvela-setup.schema.json"
  DESTINATION ${ORVELA_DATA_INSTALL_DIR})
# The help pages with their pictures: <prefix>/share/orvela/help.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/help" DESTINATION ${ORVELA_DATA_INSTALL_DIR})
install(FILES "${PROJECT_SOURCE_DIR}/docs/setup-format.md" "${PROJECT_SOURCE_DIR}/docs/orvela-run.md"
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvela)

# Setup files (*.orvela) open in the program from a file manager.
install(FILES ${ORVELA_RESOURCE_DIR}/mime/${ORVELA_APP_ID}.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${ORVELA_RESOURCE_DIR}/metainfo/${ORVELA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORVELA_RESOURCE_DIR}/man/orvela.1 ${ORVELA_RESOURCE_DIR}/man/orvela-run.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvela)

install(FILES ${ORVELA_RESOURCE_DIR}/icons/orvela.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${ORVELA_RESOURCE_DIR}/icons/orvela-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME orvela.png)
endforeach()
