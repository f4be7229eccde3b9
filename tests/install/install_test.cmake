# cmake -P: install into WORK_DIR/prefix, check the files, start both programs from there.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed:\n${out}")
endif()

foreach(f ${BINDIR}/Velmora ${BINDIR}/Tiravo ${LIBDIR}/libvexoplatform.so ${PLUGINDIR}/libvexoservers.so
          ${DATADIR}/applications/velmora.desktop ${DATADIR}/applications/tiravo.desktop
          ${DATADIR}/icons/hicolor/16x16/apps/velmora.png ${DATADIR}/icons/hicolor/48x48/apps/tiravo.png
          ${DATADIR}/icons/hicolor/256x256/apps/velmora.png)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(READ ${prefix}/${DATADIR}/applications/velmora.desktop entry)
if(NOT entry MATCHES "Exec=Velmora" OR NOT entry MATCHES "Icon=velmora")
  message(FATAL_ERROR "velmora.desktop names another program or icon:\n${entry}")
endif()
# Each entry is valid as it stands: the validator says nothing, not even a hint (one main
# category, so a menu lists the program once).
if(DESKTOP_FILE_VALIDATE)
  foreach(entry velmora tiravo)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${prefix}/${DATADIR}/applications/${entry}.desktop
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
      message(FATAL_ERROR "${entry}.desktop does not validate:\n${out}")
    endif()
  endforeach()
endif()

# Nothing but the installed tree: no servers directory from the build, no settings of the user.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{QT_PLUGIN_PATH} ${PROBE_DIR})
set(ENV{VEXO_SPLASH_MS} 0)
set(ENV{VEXO_REGISTRY_FILE} ${WORK_DIR}/registry.ini)
unset(ENV{VEXO_FAIL_UNANSWERED_DIALOGS})
unset(ENV{VEXO_SERVERS_DIR})

function(start program trigger expect)
  set(ENV{VEXO_PROBE_TRIGGER} "${trigger}")
  execute_process(COMMAND ${prefix}/${BINDIR}/${program} -plugin vexoprobe WORKING_DIRECTORY ${WORK_DIR}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  message(STATUS "${program} (${rc}):\n${out}${err}")
  if(NOT out MATCHES "probe: window \"Vexo[^\n]*\" icon set")
    message(FATAL_ERROR "${program} did not show its main window with its icon")
  endif()
  if(NOT out MATCHES "${expect}")
    message(FATAL_ERROR "${program}: expected \"${expect}\"")
  endif()
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} ended with ${rc}")
  endif()
endfunction()

start(Tiravo "" "probe: done")
# A new table compiled: the compiler server exists when it finds the empty row wrong.
start(Velmora "newTblAction;Моделирование &УА" "probe: message [^\n]*Обнаружены ошибки в таблице[^\n]*\n(.*\n)?probe: done")
