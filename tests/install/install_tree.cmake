# Installs the build into a temporary prefix, checks the tree, then runs the installed programs
# as a new user would: --help and --version without a display, the data checker and the terminal
# companion with a fresh home folder. The manual pages are read with man, the desktop entry and
# the AppStream metadata checked with their validators (each check is left out, with a note,
# where its tool is missing; scripts/install-deps installs them).
#   cmake -DBUILD_DIR=... -DWITH_GUI=ON|OFF -P install_tree.cmake

set(prefix ${BUILD_DIR}/tests/install_tree/prefix)
set(home ${BUILD_DIR}/tests/install_tree/home)
file(REMOVE_RECURSE ${BUILD_DIR}/tests/install_tree)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(programs dasom-chat dasom-check)
# The sizes desktops look for beside the SVG.
set(icon_sizes 16 22 24 32 48 64 128 256)
if(WITH_GUI)
  list(APPEND programs dasom)
endif()
set(expected share/doc/dasom/copyright share/doc/dasom/changelog.gz
             share/doc/dasom/README.md.gz share/doc/dasom/user-guide.txt.gz)
foreach(program ${programs})
  list(APPEND expected bin/${program} share/man/man1/${program}.1.gz share/man/ko/man1/${program}.1.gz)
endforeach()
foreach(name reserve.dat data1.dat data2.dat data3.dat data4.dat mal.dat vowel.dat exec.dat
             juso.dat eng.dat readme.txt music.dat logo.avi)
  list(APPEND expected share/dasom/${name})
endforeach()
if(WITH_GUI)
  list(APPEND expected lib/dasom/dasom-logo lib/dasom/dasom-render-music
                       share/dasom/rabbit.dat share/applications/dasom.desktop
                       share/metainfo/invalid.dasom.dasom.metainfo.xml
                       share/icons/hicolor/scalable/apps/dasom.svg)
  foreach(size ${icon_sizes})
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/dasom.png)
  endforeach()
endif()
foreach(file ${expected})
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "missing from the installed tree: ${file}")
  endif()
endforeach()
foreach(file share/dasom/dasom.ini bin/dasom-install-data bin/data1.dat)
  if(EXISTS ${prefix}/${file})
    message(FATAL_ERROR "does not belong in the installed tree: ${file}")
  endif()
endforeach()

if(WITH_GUI)
  # Each icon is drawn at the size of its folder.
  foreach(size ${icon_sizes})
    file(READ ${prefix}/share/icons/hicolor/${size}x${size}/apps/dasom.png header
         OFFSET 16 LIMIT 8 HEX)
    math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" hex_size "${hex_size}")
    string(LENGTH "${hex_size}" digits)
    math(EXPR padding "8 - ${digits}")
    string(REPEAT "0" ${padding} zeros)
    if(NOT header STREQUAL "${zeros}${hex_size}${zeros}${hex_size}")
      message(FATAL_ERROR "icon ${size}x${size} has the size ${header} (hexadecimal)")
    endif()
  endforeach()

  # The desktop entry starts a program that is installed, under its icon's name.
  file(STRINGS ${prefix}/share/applications/dasom.desktop entry ENCODING UTF-8)
  list(FIND entry "Exec=dasom" exec)
  list(FIND entry "Icon=dasom" icon)
  list(FIND entry "Name[ko]=다솜" korean_name)
  if(exec LESS 0 OR icon LESS 0 OR korean_name LESS 0)
    message(FATAL_ERROR "desktop entry lacks Exec, Icon or its Korean name: ${entry}")
  endif()
  find_program(desktop_file_validate desktop-file-validate)
  if(desktop_file_validate)
    execute_process(COMMAND ${desktop_file_validate} ${prefix}/share/applications/dasom.desktop
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR NOT output STREQUAL "")
      message(FATAL_ERROR "desktop-file-validate: ${output}")
    endif()
  else()
    message(NOTICE "note: desktop-file-validate is not installed; the desktop entry was not validated")
  endif()
  find_program(appstreamcli appstreamcli)
  if(appstreamcli)
    # The metadata, its file name and the desktop entry it launches, as installed.
    execute_process(COMMAND ${appstreamcli} validate-tree --pedantic --no-net --no-color ${prefix}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    # Passed, and nothing beyond the one known note on the identifier (packaging/README.md).
    string(REGEX REPLACE "I: [^\n]*cid-maybe-not-rdns[^\n]*\n" "" unexplained "${output}")
    if(NOT result EQUAL 0 OR unexplained MATCHES "(^|\n) *[EWIP]: ")
      message(FATAL_ERROR "appstreamcli validate-tree --pedantic: ${output}")
    endif()
  else()
    message(NOTICE "note: appstreamcli is not installed; the AppStream metadata was not validated")
  endif()
endif()

# Every program answers --help (Korean, on standard output) and --version without a display.
foreach(program ${programs})
  foreach(option --help --version)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
              --unset=QT_QPA_PLATFORM ${prefix}/bin/${program} ${option}
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(option STREQUAL "--version")
      set(wanted "^다솜 1\\.0\n$")
    else()
      set(wanted "^사용법: ${program} ")
    endif()
    if(NOT result EQUAL 0 OR NOT errors STREQUAL "" OR NOT output MATCHES "${wanted}")
      message(FATAL_ERROR "${program} ${option}: exit ${result}, output '${output}', errors '${errors}'")
    endif()
  endforeach()
endforeach()

# Without a display, or with one that cannot be reached, the window program says so in Korean and
# points to the terminal companion: no abort from Qt.
foreach(display "" ":7711")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            --unset=XDG_SESSION_TYPE DISPLAY=${display} ${prefix}/bin/dasom
    RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 1 OR NOT errors MATCHES "dasom-chat")
    message(FATAL_ERROR "dasom with DISPLAY='${display}': exit ${result}, errors '${errors}'")
  endif()
endforeach()

# The manual pages read without a warning, each naming its program.
find_program(man man)
if(man)
  foreach(program ${programs})
    foreach(page share/man/man1/${program}.1.gz share/man/ko/man1/${program}.1.gz)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
                ${man} --warnings -E UTF-8 -l ${prefix}/${page}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
      if(NOT result EQUAL 0 OR NOT errors STREQUAL "" OR NOT output MATCHES "\n +${program} - ")
        message(FATAL_ERROR "man -l ${page}: exit ${result}, errors '${errors}', output '${output}'")
      endif()
    endforeach()
  endforeach()
else()
  message(NOTICE "note: man is not installed; the manual pages were not read")
endif()

# A new user: the installed checker chooses the user's own folder, fills it like the companion,
# and finds nothing wrong there.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME HOME=${home} ${prefix}/bin/dasom-check
  RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE errors)
set(user ${home}/.local/share/dasom)
if(NOT result EQUAL 0 OR NOT errors STREQUAL "" OR NOT EXISTS ${user}/data1.dat)
  message(FATAL_ERROR "installed dasom-check: exit ${result}, report '${report}', errors '${errors}'")
endif()

# The installed program cannot use bin/ (no data files there): its files go to the user's folder.
# An insult changes the mood, which is then saved.
file(WRITE ${BUILD_DIR}/tests/install_tree/input "안녕 멍텅구리\n")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME HOME=${home}
          ${prefix}/bin/dasom-chat --seed 1
  INPUT_FILE ${BUILD_DIR}/tests/install_tree/input
  RESULT_VARIABLE result OUTPUT_VARIABLE reply ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR reply STREQUAL "\n" OR NOT errors STREQUAL "")
  message(FATAL_ERROR "installed dasom-chat: exit ${result}, reply '${reply}', errors '${errors}'")
endif()
if(NOT EXISTS ${user}/data1.dat OR NOT EXISTS ${user}/dasom.ini OR EXISTS ${prefix}/share/dasom/dasom.ini)
  message(FATAL_ERROR "the user's folder ${user} was not filled, or the settings went elsewhere")
endif()

# Without HOME there is no user's folder: the installed defaults answer, nothing is written among
# them, and the user is told why in Korean.
execute_process(
  COMMAND env -i PATH=/usr/bin:/bin ${prefix}/bin/dasom-chat --seed 1
  INPUT_FILE ${BUILD_DIR}/tests/install_tree/input
  RESULT_VARIABLE result OUTPUT_VARIABLE reply ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR reply STREQUAL "\n" OR NOT errors MATCHES "사용자 폴더를 정할 수 없습니다"
   OR EXISTS ${prefix}/share/dasom/dasom.ini)
  message(FATAL_ERROR "dasom-chat without HOME: exit ${result}, reply '${reply}', errors '${errors}'")
endif()
file(REMOVE_RECURSE ${BUILD_DIR}/tests/install_tree)
