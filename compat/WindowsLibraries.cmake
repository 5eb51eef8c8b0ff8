# On Windows the real headers and import libraries take the stand-ins' place, under the
# stand-ins' target names, so that the layers above link the same names on both systems.
add_library(tarnelix_win32 INTERFACE)
target_link_libraries(tarnelix_win32 INTERFACE user32 gdi32 winmm)
# The C runtime's entry point calls WinMain; there is no main() to add. The runtime is linked
# after the program's own libraries, though, so WinMain is asked for before they are read.
add_library(tarnelix_win32_main INTERFACE)
target_link_options(tarnelix_win32_main INTERFACE -Wl,--undefined=WinMain)
# Dialogs come from the program's own resource script (app/tarnelix.rc).
add_library(tarnelix_win32_dialog INTERFACE)
target_link_libraries(tarnelix_win32_dialog INTERFACE tarnelix_win32)
add_library(tarnelix_d3d9 INTERFACE)
target_link_libraries(tarnelix_d3d9 INTERFACE d3d9 tarnelix_win32)
add_library(tarnelix_d3dx9 INTERFACE)
target_link_libraries(tarnelix_d3dx9 INTERFACE d3dx9 tarnelix_d3d9)
