# Debian's hardening: stack protector, fortified C library calls, format checks, position
# independent executables and a read-only relocation table bound at start (full RELRO). The
# flags come from dpkg-buildflags where it is installed (DEB_BUILD_MAINT_OPTIONS from the
# environment, else hardening=+all); elsewhere the same flags are given by hand. Optimisation and
# debug information stay the build type's.

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

find_program(DASOM_DPKG_BUILDFLAGS dpkg-buildflags)
mark_as_advanced(DASOM_DPKG_BUILDFLAGS)
set(maintainer_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
if(maintainer_options STREQUAL "")
  set(maintainer_options "hardening=+all")
endif()

set(hardening_preprocessor -D_FORTIFY_SOURCE=2)
set(hardening_compile -fstack-protector-strong -Wformat -Werror=format-security)
set(hardening_link -Wl,-z,relro -Wl,-z,now)
if(DASOM_DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${maintainer_options}
              ${DASOM_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The build type decides optimisation and debug information; the path map would only tie
    # the objects to one checkout (and keep them from being shared through a compiler cache).
    list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9s]?|ffile-prefix-map=.*|fdebug-prefix-map=.*)$")
    if(kind STREQUAL "CPPFLAGS")
      set(hardening_preprocessor ${flags})
    elseif(kind STREQUAL "CXXFLAGS")
      set(hardening_compile ${flags})
    else()
      set(hardening_link ${flags})
    endif()
  endforeach()
endif()

# Fortified calls need an optimised build; an unoptimised one only warns about them.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${hardening_preprocessor}>" ${hardening_compile})
add_link_options(${hardening_link})
