# Precompiled Qt headers: most of a Qt build's time goes into them.
function(dorv_use_pch target)
  target_precompile_headers(${target} PRIVATE <QtCore> <QtGui> <QtWidgets>)
endfunction()

# dorv_add_module(<package> SOURCES ... [ADMIN])
# A module plug-in: <program>/lib/<package>.so (lib/admin/ for the administration module),
# linked against api, registering its windows by class name when loaded.
function(dorv_add_module name)
  cmake_parse_arguments(M "ADMIN" "" "SOURCES" ${ARGN})
  add_library(${name} MODULE ${M_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_libraries(${name} PRIVATE api)
  dorv_use_pch(${name})
  if(M_ADMIN)
    set_target_properties(${name} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${DORV_LIB_DIR}/admin
      BUILD_RPATH "$ORIGIN/..")
  else()
    set_target_properties(${name} PROPERTIES BUILD_RPATH "$ORIGIN")
  endif()
  set_property(GLOBAL APPEND PROPERTY DORV_MODULES ${name})
endfunction()
