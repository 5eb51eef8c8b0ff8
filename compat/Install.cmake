# `cmake --install` puts the stand-ins' libraries and headers, and a pkg-config file, where an
# outside program written for the real APIs finds them:
#   c++ program.cpp $(pkg-config --cflags --libs tarnelix-compat)
include(GNUInstallDirs)
install(TARGETS tarnelix_win32 tarnelix_win32_main tarnelix_d3d9
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT compat)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/win32/include/ ${CMAKE_CURRENT_SOURCE_DIR}/d3d9/include/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarnelix-compat COMPONENT compat)
configure_file(${PROJECT_SOURCE_DIR}/cmake/tarnelix-compat.pc.in
               ${CMAKE_CURRENT_BINARY_DIR}/tarnelix-compat.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarnelix-compat.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT compat)
