# The FFmpeg the engine links, as the interface target `zelvic_ffmpeg`.
#
# The static libraries scripts/ffmpeg.sh builds from Debian's own source
# package of the installed FFmpeg version, so that `zelvic` is one executable
# that loads no FFmpeg library at start. scripts/build.sh passes their prefix;
# without it the script is run here.
#
# PELORINE_DEBIAN_ENGINE adds `zelvic_debian`: the same engine linked against
# Debian's shared libraries of that same version, for the identify comparison
# test and the benchmarks. A target that sets ZELVIC_DEBIAN_FFMPEG gets those
# instead of the static ones from every library that links `zelvic_ffmpeg`.

option(PELORINE_DEBIAN_ENGINE "Also build zelvic_debian, the engine on Debian's shared FFmpeg" ON)
set(PELORINE_FFMPEG_PREFIX "" CACHE PATH "Prefix of the engine's FFmpeg (scripts/ffmpeg.sh)")

set(_ffmpeg_modules libavformat libavfilter libswscale libswresample libavcodec libavutil)
set(_prefix "${PELORINE_FFMPEG_PREFIX}")
if(NOT _prefix)
    message(STATUS "Engine FFmpeg: scripts/ffmpeg.sh (a few minutes when not built yet)")
    execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/ffmpeg.sh
        OUTPUT_VARIABLE _prefix OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
if(NOT EXISTS "${_prefix}/lib/pkgconfig/libavformat.pc")
    message(FATAL_ERROR "No FFmpeg in \"${_prefix}\": run scripts/ffmpeg.sh and pass the prefix "
                        "it prints as PELORINE_FFMPEG_PREFIX")
endif()
message(STATUS "Engine FFmpeg: ${_prefix}")

# The link line of the static libraries, with their own dependencies (x264,
# LAME, dav1d, zlib ... as Debian's shared libraries). The FFmpeg libraries
# are named by their full path, so that no shared copy can stand in for them
# and a new prefix relinks.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "PKG_CONFIG_PATH=${_prefix}/lib/pkgconfig"
            ${PKG_CONFIG_EXECUTABLE} --static --libs ${_ffmpeg_modules}
    OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(_flags UNIX_COMMAND "${_flags}")
set(_static)
foreach(_flag IN LISTS _flags)
    set(_archive "")
    if(_flag MATCHES "^-l(.*)$")
        set(_archive "${_prefix}/lib/lib${CMAKE_MATCH_1}.a")
    endif()
    if(_archive AND EXISTS "${_archive}")
        list(APPEND _static "${_archive}")
    elseif(NOT _flag STREQUAL "-L${_prefix}/lib")
        list(APPEND _static "${_flag}")
    endif()
endforeach()

add_library(zelvic_ffmpeg INTERFACE)
# Both builds are of one FFmpeg version, so one set of headers serves both.
target_include_directories(zelvic_ffmpeg SYSTEM INTERFACE "${_prefix}/include")
set(_debian "$<BOOL:$<TARGET_PROPERTY:ZELVIC_DEBIAN_FFMPEG>>")
target_link_libraries(zelvic_ffmpeg INTERFACE "$<$<NOT:${_debian}>:${_static}>")
if(PELORINE_DEBIAN_ENGINE)
    pkg_check_modules(FFMPEG_DEBIAN REQUIRED IMPORTED_TARGET ${_ffmpeg_modules})
    target_link_libraries(zelvic_ffmpeg INTERFACE "$<${_debian}:PkgConfig::FFMPEG_DEBIAN>")
endif()
