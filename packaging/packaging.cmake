# The Debian package (CPack): the programs in /opt/orviswatch, owned by root;
# the data folder /var/lib/orviswatch ($ORVIS_DATA of the service), owned by
# the system user orviswatch (both made by postinst, not shipped); the
# service's unit in /lib/systemd/system, neither enabled nor started by the
# package; a desktop entry whose data folder is the user's own.
# scripts/package.sh builds it.
#
# What only the package carries (the system unit, the desktop entry, the
# Debian documents) is the component "package", left out of a plain
# `cmake --install`.

set(ORVIS_PACKAGE_FOLDER /opt/orviswatch)
set(ORVIS_PACKAGE_DATA /var/lib/orviswatch)
set(ORVIS_PACKAGE_DIR ${CMAKE_CURRENT_LIST_DIR})

# The unit of the service start, from the monitor's own unit template: the
# same service, for the package's folder, run as the package's user.
set(unit_template ${PROJECT_SOURCE_DIR}/monitor/orviswatch.service.in)
if(EXISTS ${unit_template})
  set(ORVIS_UNIT_FOLDER ${ORVIS_PACKAGE_DATA})
  set(ORVIS_UNIT_PROGRAM ${ORVIS_PACKAGE_FOLDER}/OrvisWatch)
  configure_file(${unit_template} ${PROJECT_BINARY_DIR}/package/orviswatch.service.tmp @ONLY)
  file(READ ${PROJECT_BINARY_DIR}/package/orviswatch.service.tmp unit)
  # The data apart from the programs: systemd makes the state folder (owned
  # by the user, 0750) before the start; nothing the user may write lies
  # among the programs or the system's own files.
  string(REPLACE "#User=orviswatch" "User=orviswatch
Group=orviswatch
StateDirectory=orviswatch
StateDirectoryMode=0750
Environment=ORVIS_DATA=${ORVIS_PACKAGE_DATA}
ProtectSystem=full
NoNewPrivileges=yes" package_unit "${unit}")
  if(package_unit STREQUAL unit)
    message(FATAL_ERROR "${unit_template}: no line \"#User=orviswatch\" to set the package's user")
  endif()
  string(REPLACE "[Service]" "Documentation=file:/usr/share/doc/orviswatch/operations.md\n\n[Service]"
    package_unit "${package_unit}")
  string(REPLACE "\n\nDocumentation=" "\nDocumentation=" package_unit "${package_unit}")
  file(WRITE ${PROJECT_BINARY_DIR}/package/orviswatch.service "${package_unit}")
  install(FILES ${PROJECT_BINARY_DIR}/package/orviswatch.service
    DESTINATION /lib/systemd/system COMPONENT package EXCLUDE_FROM_ALL)
endif()

# The window for desktop users: the entry, its icon, and the launcher that
# gives each user a data folder of their own.
install(PROGRAMS ${ORVIS_PACKAGE_DIR}/orviswatch-desktop
  DESTINATION ${ORVIS_PACKAGE_FOLDER} COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${ORVIS_PACKAGE_DIR}/orviswatch.desktop
  DESTINATION /usr/share/applications COMPONENT package EXCLUDE_FROM_ALL)
foreach(size IN LISTS ORVIS_ICON_SIZES)
  install(FILES ${PROJECT_BINARY_DIR}/icons/${size}/orviswatch.png
    DESTINATION /usr/share/icons/hicolor/${size}x${size}/apps COMPONENT package EXCLUDE_FROM_ALL)
endforeach()

execute_process(COMMAND gzip -9nc ${ORVIS_PACKAGE_DIR}/changelog
  OUTPUT_FILE ${PROJECT_BINARY_DIR}/package/changelog.Debian.gz)
install(FILES ${ORVIS_PACKAGE_DIR}/copyright ${PROJECT_BINARY_DIR}/package/changelog.Debian.gz
  ${PROJECT_SOURCE_DIR}/docs/operations.md
  DESTINATION /usr/share/doc/orviswatch COMPONENT package EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orviswatch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "OrvisWatch maintainers <orviswatch@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "change monitor for web pages, folders, programs and disks")
set(CPACK_PACKAGING_INSTALL_PREFIX ${ORVIS_PACKAGE_FOLDER})
# The install code of the unit in the folder reads the prefix as installed,
# so the files are installed under DESTDIR with the package's folder as the
# prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${ORVIS_PACKAGE_FOLDER})
set(CPACK_STRIP_FILES ON)
# Both parts in one package: "package" is left out of "ALL", so each part is
# installed by name.
set(CPACK_COMPONENTS_ALL Unspecified package)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${PROJECT_BINARY_DIR};OrvisWatch;Unspecified;/;${PROJECT_BINARY_DIR};OrvisWatch;package;/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# adduser: postinst; the fonts: the Japanese texts of the windows. The
# libraries the programs link come from dpkg-shlibdeps; dtl (the history's
# line diff) is a header-only library compiled into OrvisWatch, so it needs
# nothing at run time, and its licence goes with the package (copyright).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
# The synopsis is the summary above; CPack indents these lines and marks the
# empty one as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "OrvisWatch watches web pages, folders and files, running programs and free
disk space, compares each fresh snapshot with a stored baseline, and when
something changes records the result, sounds an alarm and mails the job's
mail group. Postiva is its standalone SMTP sender.

The programs are installed into /opt/orviswatch, owned by root; the
service's data (jobs, baselines, logs, settings) lives in
/var/lib/orviswatch, owned by the system user orviswatch. The service start
runs under systemd (orviswatch.service, with its watchdog), which the
package neither enables nor starts. A desktop entry starts the window with
a data folder of the user's own.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${ORVIS_PACKAGE_DIR}/postinst ${ORVIS_PACKAGE_DIR}/prerm ${ORVIS_PACKAGE_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
