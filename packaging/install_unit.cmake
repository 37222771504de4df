# Writes the user unit at install time, naming the service at this install's own prefix.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(LYR_SERVICE_BINARY "${prefix}/bin/lyric-service")
set(unit "${prefix}/lib/systemd/user/lyric-service.service")
message(STATUS "Installing: $ENV{DESTDIR}${unit}")
configure_file("${LYR_UNIT_TEMPLATE}" "$ENV{DESTDIR}${unit}" @ONLY)
# The manifest names files without DESTDIR, as CMake's own entries do.
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${unit}")
