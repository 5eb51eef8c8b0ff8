# The device's pixel tests, and the show's programs drawn through it, again on a driver that is
# plain OpenGL 3.3 core, as a card's may be: Mesa reports 3.3 and leaves out every optional
# extension the device would use, and KHR_debug, so that each fallback draws and the GL check
# asks glGetError instead.
set(TARNELIX_OPTIONAL_GL_EXTENSIONS
    GL_ARB_clip_control GL_ARB_texture_filter_anisotropic GL_EXT_texture_filter_anisotropic
    GL_ARB_texture_mirror_clamp_to_edge GL_EXT_texture_mirror_clamp GL_ATI_texture_mirror_once
    GL_ARB_ES2_compatibility GL_KHR_debug)
list(TRANSFORM TARNELIX_OPTIONAL_GL_EXTENSIONS PREPEND "-")
list(JOIN TARNELIX_OPTIONAL_GL_EXTENSIONS " " TARNELIX_EXTENSION_OVERRIDE)
foreach(program d3d9_device_test d3d9_raster_test d3d9_shader_test d3d9_fixed_function_test
                d3d9_texture_test d3d9_gl_check_test d3d9_query_test d3d9_state_block_test
                d3d9_instancing_test d3d9_cube_texture_test d3d9_tex_gen_test
                d3d9_resource_rules_test d3d9_lighting_test d3d9_fog_test d3d9_point_test
                d3d9_clip_plane_test d3d9_depth_bias_test d3dx_draw_test render_pixel_test
                display_test)
    add_test(NAME core_profile_only.${program} COMMAND ${program})
    set_tests_properties(core_profile_only.${program} PROPERTIES ENVIRONMENT
        "${TARNELIX_TEST_ENVIRONMENT};MESA_GL_VERSION_OVERRIDE=3.3;MESA_EXTENSION_OVERRIDE=${TARNELIX_EXTENSION_OVERRIDE}")
endforeach()
