# Compiler settings shared by every target of the project.
add_library(pal4_options INTERFACE)

if(MSVC)
    target_compile_options(pal4_options INTERFACE /W4 /WX /utf-8 /execution-charset:.936 /permissive-)
else()
    target_compile_options(pal4_options INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Werror
        # Every narrow literal of the program is GB2312, like the game's text and the settings file.
        -finput-charset=UTF-8 -fexec-charset=GB2312)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports false -Wrestrict overlaps inside std::string at -O3 (GCC bug 105329).
        target_compile_options(pal4_options INTERFACE -Wno-restrict)
    endif()
endif()

if(WIN32)
    target_compile_definitions(pal4_options INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    if(MINGW)
        # One self-contained exe: no runtime DLLs to go missing on the user's machine.
        target_link_options(pal4_options INTERFACE -static -static-libgcc -static-libstdc++)
    endif()
endif()

if(PAL4_SANITIZE AND NOT MSVC)
    target_compile_options(pal4_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(pal4_options INTERFACE -fsanitize=address,undefined)
endif()

# pal4_module(NAME DIR <folder of src/> [DEPS ...]): a library built from every .cpp in one
# source folder. A folder with no sources yet gives a header-only library, so the tree builds at
# every step.
#
# A library sees its own folder and, through its dependencies, theirs; nothing else. Includes
# are written from src/ ("core/app_state.hpp"), so each library's include directory is a view
# holding one link named after its folder, and an include that climbs a layer or skips a
# declaration does not compile. Where links cannot be made (Windows hosts without the right),
# every library sees all of src/ and scripts/check-layers.sh alone keeps the rule.
function(pal4_module name)
    cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
    set(folder ${PROJECT_SOURCE_DIR}/src/${ARG_DIR})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    # WinMain lives beside the portable composition root but belongs to the exe alone.
    list(FILTER sources EXCLUDE REGEX "/main_win32\\.cpp$")

    # A room nested in a folder (win32/platform) is seen under its whole path, and only it.
    set(view ${PROJECT_BINARY_DIR}/layers/${ARG_DIR})
    get_filename_component(link_parent ${view}/${ARG_DIR} DIRECTORY)
    file(MAKE_DIRECTORY ${link_parent})
    file(CREATE_LINK ${folder} ${view}/${ARG_DIR} RESULT link_error SYMBOLIC)
    if(link_error)
        set(view ${PROJECT_SOURCE_DIR}/src)
    endif()

    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${view})
        target_link_libraries(${name} PUBLIC pal4_options ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${view})
        target_link_libraries(${name} INTERFACE pal4_options ${ARG_DEPS})
    endif()
endfunction()
