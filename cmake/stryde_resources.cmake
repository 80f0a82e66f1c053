# Everything compiled into the Qt resources, in one OBJECT library
# (stryde_resources) that every executable and test needing it links, so rcc
# runs once:
#   - modules/DevInfo.ini                       at :/DevInfo.ini
#   - every file under modules/qml              at qrc:/modules/qml/...
#   - the skin: modules/img/svg/<group>/<name>.svg rendered to PNG with
#     rsvg-convert, at qrc:/modules/img/<name>.png for the group "window" and
#     at qrc:/<group>/modules/img/skin1/<group>/<name>.png for the others;
#     each also at twice the size beside it as <name>@2x.png, which Qt Quick
#     loads instead on a screen of a scale above 1 (1.25, 1.5, 2): a screen
#     at scale 1 never loads it.
# The lists are globbed, so a new page or image needs no edit here.

set(_mod ${CMAKE_SOURCE_DIR}/modules)
set(_out ${CMAKE_BINARY_DIR}/stryde_resources)
file(GLOB_RECURSE _qml_files CONFIGURE_DEPENDS ${_mod}/qml/*.qml ${_mod}/qml/*.js ${_mod}/qml/qmldir)
file(GLOB_RECURSE _svg_files CONFIGURE_DEPENDS ${_mod}/img/svg/*.svg)
list(SORT _qml_files)
list(SORT _svg_files)

set(_root_entries "    <file alias=\"DevInfo.ini\">${_mod}/DevInfo.ini</file>\n")
set(_deps ${_mod}/DevInfo.ini)
foreach(f ${_qml_files})
  file(RELATIVE_PATH _rel ${_mod} ${f})
  string(APPEND _root_entries "    <file alias=\"modules/${_rel}\">${f}</file>\n")
  list(APPEND _deps ${f})
endforeach()

set(_skin_groups "")
if(_svg_files)
  find_program(RSVG_CONVERT rsvg-convert)
  if(NOT RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert is needed to render the skin (Debian package librsvg2-bin)")
  endif()
endif()
foreach(svg ${_svg_files})
  file(RELATIVE_PATH _rel ${_mod}/img/svg ${svg})
  get_filename_component(_group ${_rel} DIRECTORY)
  get_filename_component(_name ${_rel} NAME_WE)
  if(_group STREQUAL "" OR _group MATCHES "/")
    message(WARNING "skin image ${_rel} is not in modules/img/svg/<group>/: left out")
    continue()
  endif()
  if(_group STREQUAL "window")
    set(_png_dir ${_out}/window)
  else()
    set(_png_dir ${_out}/skin1/${_group})
    if(NOT _group IN_LIST _skin_groups)
      list(APPEND _skin_groups ${_group})
      set(_group_entries_${_group} "")
    endif()
  endif()
  set(_png ${_png_dir}/${_name}.png)
  set(_png2x ${_png_dir}/${_name}@2x.png)
  foreach(_file ${_name}.png ${_name}@2x.png)
    if(_group STREQUAL "window")
      string(APPEND _root_entries "    <file alias=\"modules/img/${_file}\">${_png_dir}/${_file}</file>\n")
    else()
      string(APPEND _group_entries_${_group}
        "    <file alias=\"modules/img/skin1/${_group}/${_file}\">${_png_dir}/${_file}</file>\n")
    endif()
  endforeach()
  add_custom_command(OUTPUT ${_png} ${_png2x}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_png_dir}
    COMMAND ${RSVG_CONVERT} --format=png --output=${_png} ${svg}
    COMMAND ${RSVG_CONVERT} --format=png --zoom=2 --output=${_png2x} ${svg}
    DEPENDS ${svg}
    COMMENT "Rendering ${_rel}"
    VERBATIM)
  list(APPEND _deps ${_png} ${_png2x})
endforeach()

set(_qrc "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n${_root_entries}  </qresource>\n")
foreach(g ${_skin_groups})
  string(APPEND _qrc "  <qresource prefix=\"/${g}\">\n${_group_entries_${g}}  </qresource>\n")
endforeach()
string(APPEND _qrc "</RCC>\n")
# Rewritten only when the list changes, so an unchanged tree does not rerun rcc.
file(CONFIGURE OUTPUT ${_out}/stryde.qrc CONTENT "${_qrc}" @ONLY)

add_custom_command(OUTPUT ${_out}/qrc_stryde.cpp
  COMMAND Qt6::rcc --name stryde --output ${_out}/qrc_stryde.cpp ${_out}/stryde.qrc
  DEPENDS ${_out}/stryde.qrc ${_deps}
  COMMENT "Compiling the Qt resources"
  VERBATIM)
add_library(stryde_resources OBJECT ${_out}/qrc_stryde.cpp)
set_target_properties(stryde_resources PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
target_link_libraries(stryde_resources PUBLIC Qt6::Core)
