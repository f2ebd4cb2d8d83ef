# Installs the build into a temporary prefix, checks the tree, then runs the installed terminal
# companion once with a fresh home folder.
#   cmake -DBUILD_DIR=... -DWITH_GUI=ON|OFF -P install_tree.cmake

set(prefix ${BUILD_DIR}/tests/install_tree/prefix)
set(home ${BUILD_DIR}/tests/install_tree/home)
file(REMOVE_RECURSE ${BUILD_DIR}/tests/install_tree)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected bin/dasom-chat)
foreach(name reserve.dat data1.dat data2.dat data3.dat data4.dat mal.dat vowel.dat exec.dat
             juso.dat eng.dat readme.txt music.dat logo.avi)
  list(APPEND expected share/dasom/${name})
endforeach()
if(WITH_GUI)
  list(APPEND expected bin/dasom lib/dasom/dasom_logo.so share/dasom/rabbit.dat
                       share/applications/dasom.desktop
                       share/icons/hicolor/scalable/apps/dasom.svg)
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
  # The desktop entry starts a program that is installed, under its icon's name.
  file(STRINGS ${prefix}/share/applications/dasom.desktop entry ENCODING UTF-8)
  list(FIND entry "Exec=dasom" exec)
  list(FIND entry "Icon=dasom" icon)
  list(FIND entry "Name[ko]=다솜" korean_name)
  if(exec LESS 0 OR icon LESS 0 OR korean_name LESS 0)
    message(FATAL_ERROR "desktop entry lacks Exec, Icon or its Korean name: ${entry}")
  endif()
endif()

# The installed program cannot use bin/ (no data files there): its files go to the user's folder.
# An insult changes the mood, which is then saved.
file(WRITE ${BUILD_DIR}/tests/install_tree/input "안녕 멍텅구리\n")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME HOME=${home}
          ${prefix}/bin/dasom-chat --seed 1
  INPUT_FILE ${BUILD_DIR}/tests/install_tree/input
  RESULT_VARIABLE result OUTPUT_VARIABLE reply ERROR_VARIABLE errors)
set(user ${home}/.local/share/dasom)
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
