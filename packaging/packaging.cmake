# The Debian package (CPack): the installed folder as /opt/orviswatch, which
# is the data folder of every program in it, owned by the system user
# orviswatch (made by postinst); the service's unit in /lib/systemd/system,
# neither enabled nor started by the package. scripts/package.sh builds it.
#
# What only the package carries (the system unit, the Debian documents) is
# the component "package", left out of a plain `cmake --install`.

set(ORVIS_PACKAGE_FOLDER /opt/orviswatch)
set(ORVIS_PACKAGE_DIR ${CMAKE_CURRENT_LIST_DIR})

# The unit of the service start, from the monitor's own unit template: the
# same service, for the package's folder, run as the package's user.
set(unit_template ${PROJECT_SOURCE_DIR}/monitor/orviswatch.service.in)
if(EXISTS ${unit_template})
  set(ORVIS_UNIT_FOLDER ${ORVIS_PACKAGE_FOLDER})
  set(ORVIS_UNIT_PROGRAM ${ORVIS_PACKAGE_FOLDER}/OrvisWatch)
  configure_file(${unit_template} ${PROJECT_BINARY_DIR}/package/orviswatch.service.tmp @ONLY)
  file(READ ${PROJECT_BINARY_DIR}/package/orviswatch.service.tmp unit)
  string(REPLACE "#User=orviswatch" "User=orviswatch\nGroup=orviswatch" package_unit "${unit}")
  if(package_unit STREQUAL unit)
    message(FATAL_ERROR "${unit_template}: no line \"#User=orviswatch\" to set the package's user")
  endif()
  file(WRITE ${PROJECT_BINARY_DIR}/package/orviswatch.service "${package_unit}")
  install(FILES ${PROJECT_BINARY_DIR}/package/orviswatch.service
    DESTINATION /lib/systemd/system COMPONENT package EXCLUDE_FROM_ALL)
endif()

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
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
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

Everything is installed into /opt/orviswatch, the data folder of the
programs, owned by the system user orviswatch. The service start runs under
systemd (orviswatch.service), which the package neither enables nor starts.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${ORVIS_PACKAGE_DIR}/postinst ${ORVIS_PACKAGE_DIR}/prerm ${ORVIS_PACKAGE_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
