# `cmake --install` puts the stand-ins' libraries and headers, and a pkg-config file, where an
# outside program written for the real APIs finds them:
#   c++ program.cpp $(pkg-config --cflags --libs tarnelix-compat)
include(GNUInstallDirs)
# d3dx9 needs its core beside it: static libraries carry no link to what they use.
install(TARGETS tarnelix_win32 tarnelix_win32_main tarnelix_d3d9 tarnelix_d3dx9
                tarnelix_d3dx9_core tarnelix_fmod
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT compat)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/win32/include/ ${CMAKE_CURRENT_SOURCE_DIR}/d3d9/include/
                  ${CMAKE_CURRENT_SOURCE_DIR}/d3dx9/include/ ${CMAKE_CURRENT_SOURCE_DIR}/fmod/include/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarnelix-compat COMPONENT compat)

# The file finds the prefix from its own folder, so that `cmake --install --prefix` anywhere
# gives a working package. Absolute folders cannot move with the prefix and stay as they are.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(TARNELIX_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH TARNELIX_PC_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
    string(REGEX REPLACE "/$" "" TARNELIX_PC_PREFIX "${TARNELIX_PC_PREFIX}")
    set(TARNELIX_PC_PREFIX "\${pcfiledir}/${TARNELIX_PC_PREFIX}")
endif()
foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
        set(TARNELIX_PC_${dir} "${CMAKE_INSTALL_${dir}}")
    else()
        set(TARNELIX_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/tarnelix-compat.pc.in
               ${CMAKE_CURRENT_BINARY_DIR}/tarnelix-compat.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarnelix-compat.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT compat)
