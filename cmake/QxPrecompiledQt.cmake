# Qt's headers, parsed once per build instead of once per source file: a test that includes
# <QtTest> parses all of QtCore, which took 2.5 to 4.5 of the 3.5 to 7 seconds it compiled.
# Two precompiled headers, one without widgets and one with, since a header precompiled
# with QT_GUI_LIB is refused where that is not defined. Only Qt's own headers go in, so
# editing the project's headers never rebuilds them. -Winvalid-pch (added by CMake) warns
# wherever one is refused.
option(QX_PCH "Precompile the Qt headers" ON)

# ccache caches what includes a precompiled header only when told to overlook its defines,
# its time macros and that the header was built a moment ago.
function(qx_ccache_for_pch)
  if(NOT CMAKE_CXX_COMPILER_LAUNCHER)
    return()
  endif()
  list(GET CMAKE_CXX_COMPILER_LAUNCHER 0 launcher)
  get_filename_component(launcher "${launcher}" NAME)
  if(launcher STREQUAL "ccache")
    set(sloppiness "$ENV{CCACHE_SLOPPINESS},pch_defines,time_macros,include_file_mtime,include_file_ctime")
    string(REGEX REPLACE "^," "" sloppiness "${sloppiness}")
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=${sloppiness}
        ${CMAKE_CXX_COMPILER_LAUNCHER} PARENT_SCOPE)
  endif()
endfunction()

# The two targets that build the precompiled headers the others reuse.
function(qx_pch_owners)
  set(anchor ${CMAKE_BINARY_DIR}/pch/anchor.cpp)
  file(CONFIGURE OUTPUT ${anchor} CONTENT "// The precompiled Qt headers' own source file.\n")
  add_library(qx_pch_core OBJECT ${anchor})
  target_link_libraries(qx_pch_core PRIVATE Qt6::Core qx_options)
  target_precompile_headers(qx_pch_core PRIVATE <QtCore/QtCore>)
  add_library(qx_pch_widgets OBJECT ${anchor})
  target_link_libraries(qx_pch_widgets PRIVATE Qt6::Widgets qx_options)
  target_precompile_headers(qx_pch_widgets PRIVATE <QtWidgets/QtWidgets>)
  set_target_properties(qx_pch_core qx_pch_widgets PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()

# The targets of a folder and of the folders below it.
function(qx_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    qx_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Whether a target sees Qt's widgets (or only its GUI module) through what it links.
function(qx_qt_modules target out)
  set(seen)
  set(queue ${target})
  set(modules)
  list(LENGTH queue left)
  while(left GREATER 0)
    list(POP_FRONT queue t)
    list(LENGTH queue left)
    if(t IN_LIST seen OR NOT TARGET ${t})
      continue()
    endif()
    list(APPEND seen ${t})
    if(t MATCHES "^Qt6::(Gui|Widgets)$")
      list(APPEND modules ${CMAKE_MATCH_1})
    endif()
    set(links)
    if(t STREQUAL target)
      get_target_property(links ${t} LINK_LIBRARIES)
    endif()
    get_target_property(iface ${t} INTERFACE_LINK_LIBRARIES)
    # $<LINK_ONLY:x> (what a static library links privately) brings no defines.
    foreach(l ${links} ${iface})
      if(NOT l MATCHES "[$<>]|-NOTFOUND$")
        list(APPEND queue ${l})
        list(LENGTH queue left)
      endif()
    endforeach()
  endwhile()
  set(${out} ${modules} PARENT_SCOPE)
endfunction()

# Every C++ target of the project built with its options reuses the precompiled header
# that matches the Qt modules it sees; one that sees QtGui without widgets has none.
function(qx_precompile_qt)
  if(NOT QX_PCH)
    return()
  endif()
  qx_pch_owners()
  qx_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
       OR t MATCHES "^qx_pch_")
      continue()
    endif()
    get_target_property(links ${t} LINK_LIBRARIES)
    if(NOT "qx_options" IN_LIST links)
      continue()
    endif()
    qx_qt_modules(${t} modules)
    if("Widgets" IN_LIST modules)
      target_precompile_headers(${t} REUSE_FROM qx_pch_widgets)
    elseif(NOT "Gui" IN_LIST modules)
      target_precompile_headers(${t} REUSE_FROM qx_pch_core)
    endif()
  endforeach()
endfunction()
