# Compiler settings shared by every target of the project.

option(TARNELIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(tarnelix_options INTERFACE)
target_compile_options(tarnelix_options INTERFACE -Wall -Wextra)

if(TARNELIX_SANITIZE)
    set(TARNELIX_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    add_compile_options(${TARNELIX_SANITIZER_FLAGS})
    add_link_options(${TARNELIX_SANITIZER_FLAGS})
endif()

# Stills of the show drawn by Mesa's softpipe against llvmpipe's: half a minute of software
# drawing, which make sanitize's run takes on and make test leaves out.
option(TARNELIX_SOFTPIPE_STILLS "Compare stills of the show from softpipe and llvmpipe" OFF)

# libFuzzer builds (clang, `make fuzz`): coverage in every library a fuzz target reaches, so
# that the fuzzer is guided by the code under test and not only by the target's own file.
option(TARNELIX_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(TARNELIX_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# tarnelix_library(NAME SOURCES... [LIBS ...]): a static library of the project with its
# folder on the include path of its users.
function(tarnelix_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PUBLIC tarnelix_options ${ARG_LIBS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${ARG_INCLUDES})
endfunction()
