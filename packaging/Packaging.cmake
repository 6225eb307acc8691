# Install rules and the Debian package (cpack -G DEB, see scripts/package).
#
#   bin/RDX410_Monitor, bin/rdx410-sim, bin/rdx410-gateway (with lib/systemd/system/
#   rdx410-gateway.service and the template rdx410-gateway@.service for one instance per
#   line, /etc/default/rdx410-gateway)
#   lib/rdx410-monitor/libTesmarComm2.so  (private; the program finds it by its RUNPATH)
#   share/applications/rdx410-monitor.desktop and the icon in share/icons/hicolor
#
# The help is a resource inside the program. The program's data ("logging", "hystory",
# "Setdata") goes to the per-user data folder when installed (see monitor/app/ProgramFolder.cpp).
include(GNUInstallDirs)

set(RDX_PRIVATE_LIBDIR "${CMAKE_INSTALL_LIBDIR}/rdx410-monitor")

if(TARGET RDX410_Monitor AND TARGET TesmarComm2)
  set_target_properties(RDX410_Monitor PROPERTIES
    INSTALL_RPATH "$ORIGIN/../${RDX_PRIVATE_LIBDIR}")
  install(TARGETS RDX410_Monitor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS TesmarComm2 LIBRARY DESTINATION ${RDX_PRIVATE_LIBDIR})
endif()
if(TARGET rdx410-sim)
  install(TARGETS rdx410-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The gateway, its systemd unit (installed disabled), the unit's options in /etc/default and
# an example settings store. The postinst makes the service's user rdx410.
if(TARGET rdx410-gateway AND TARGET TesmarComm2)
  set_target_properties(rdx410-gateway PROPERTIES
    INSTALL_RPATH "$ORIGIN/../${RDX_PRIVATE_LIBDIR}")
  install(TARGETS rdx410-gateway RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/rdx410-gateway.service
                ${CMAKE_CURRENT_LIST_DIR}/rdx410-gateway@.service
          DESTINATION lib/systemd/system)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/rdx410-gateway.default
          DESTINATION /etc/default RENAME rdx410-gateway)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/gateway-settings-example.ini
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rdx410-monitor/examples
          RENAME "RDX-410 Monitor.ini")
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/rdx410-gateway-line.conf
                ${CMAKE_CURRENT_LIST_DIR}/rdx410-settings-audit.service
                ${CMAKE_CURRENT_LIST_DIR}/rdx410-settings-audit.timer
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rdx410-monitor/examples)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_CURRENT_LIST_DIR}/debian/postinst;${CMAKE_CURRENT_LIST_DIR}/debian/conffiles")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

install(FILES ${CMAKE_CURRENT_LIST_DIR}/rdx410-monitor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/rdx410-monitor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/rdx410-monitor-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME rdx410-monitor.png)
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rdx410-monitor)
# The Modbus map for the plant engineer who types it into an HMI or imports its tags.
install(FILES ${PROJECT_SOURCE_DIR}/docs/MODBUS.md ${PROJECT_SOURCE_DIR}/docs/modbus-map.csv
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rdx410-monitor)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "rdx410-monitor")
set(CPACK_PACKAGE_VENDOR "TESMAR KORVEX")
set(CPACK_PACKAGE_CONTACT "RDX-410 Monitor developers <rdx410-monitor@localhost>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Monitor and setup tool for RDX-410 temperature controller lines")
# One string: pieces given to set() would become a list, and its ";" would show in the
# package's description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Watches and sets up a line of up to 16 MGU-500 blocks (320 channels of RDX-410\n"
  "temperature controllers) over one serial line. Includes rdx410-gateway, which polls a\n"
  "line without a desk and publishes it to an MQTT broker (a systemd service, disabled\n"
  "by default), and rdx410-sim, a simulator of the controller line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Library packages (libqt6core6, libqt6serialport6, ...) come from dpkg-shlibdeps; the
# link library is the package's own. The Japanese font is needed for the interface to
# show at all, and Qt's Japanese catalogue (qtbase_ja.qm) for Qt's own buttons and file
# dialogs; nothing links either.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/link")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n, adduser")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mosquitto")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)
