# Precompiled headers. Most of a clean build goes to parsing the same headers in every file:
# the standard library, Qt Widgets, GoogleTest. A target asks for them with one line,
#   trawlix_precompile(TARGET KIND)    KIND: std, widgets, test or widgets_test
# and after every folder is read, targets of one kind whose outside libraries bring the same
# compiler flags and macros share one precompiled header, built once by a small host target
# with those flags. (A header built with other macros, -fPIC or -pthread would be rejected:
# clang stops, GCC warns and -Werror stops.) A target with flags of its own gets its own.

option(TRAWLIX_PCH "Precompile the headers most files include" ON)

set(TRAWLIX_PCH_std
  <algorithm> <array> <atomic> <chrono> <cstddef> <cstdint> <deque> <filesystem> <fstream>
  <functional> <map> <memory> <mutex> <optional> <set> <span> <sstream> <string>
  <string_view> <system_error> <utility> <vector>)
set(TRAWLIX_PCH_widgets ${TRAWLIX_PCH_std}
  <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDialogButtonBox> <QDir>
  <QFileDialog> <QFileInfo> <QFormLayout> <QGridLayout> <QGroupBox> <QHBoxLayout> <QHeaderView>
  <QImage> <QLabel> <QLineEdit> <QListWidget> <QMenu> <QObject> <QPlainTextEdit> <QProgressBar>
  <QPushButton> <QRadioButton> <QSettings> <QSpinBox> <QString> <QStringList> <QTabWidget>
  <QTimer> <QToolButton> <QTreeWidget> <QUrl> <QVBoxLayout> <QWidget>)
set(TRAWLIX_PCH_test ${TRAWLIX_PCH_std} <gtest/gtest.h> <gmock/gmock.h>)
set(TRAWLIX_PCH_widgets_test ${TRAWLIX_PCH_widgets} <gtest/gtest.h> <gmock/gmock.h> <QTest>
  <QSignalSpy>)

# ccache caches files built with a precompiled header only when told to ignore the header's
# macros and time stamps (and, for clang, when the header carries none).
if(TRAWLIX_PCH AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
  set(CMAKE_CXX_COMPILER_LAUNCHER env
    CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

function(trawlix_precompile target kind)
  if(NOT DEFINED TRAWLIX_PCH_${kind})
    message(FATAL_ERROR "trawlix_precompile(${target}): unknown kind '${kind}'")
  endif()
  set_property(TARGET ${target} PROPERTY TRAWLIX_PCH_KIND ${kind})
  set_property(GLOBAL APPEND PROPERTY TRAWLIX_PCH_TARGETS ${target})
endfunction()

# The outside targets whose usage requirements add compile flags or macros to `target`.
# Link-only entries ($<LINK_ONLY:...>) and plain library names add none.
function(_trawlix_pch_flag_sources target out)
  get_target_property(todo ${target} LINK_LIBRARIES)
  set(seen "")
  set(result "")
  while(todo)
    list(POP_FRONT todo item)
    if(NOT item OR item IN_LIST seen OR NOT TARGET "${item}")
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      set(item ${aliased})
    endif()
    if(item STREQUAL "trawlix_options")
      continue()
    endif()
    get_target_property(options ${item} INTERFACE_COMPILE_OPTIONS)
    get_target_property(definitions ${item} INTERFACE_COMPILE_DEFINITIONS)
    if(options OR definitions)
      list(APPEND result ${item})
    endif()
    get_target_property(links ${item} INTERFACE_LINK_LIBRARIES)
    if(links)
      list(APPEND todo ${links})
    endif()
  endwhile()
  list(REMOVE_DUPLICATES result)
  list(SORT result)
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(_trawlix_precompile_all)
  get_property(targets GLOBAL PROPERTY TRAWLIX_PCH_TARGETS)
  set(host_source ${PROJECT_BINARY_DIR}/pch/host.cpp)
  file(CONFIGURE OUTPUT ${host_source} CONTENT "// Builds a shared precompiled header.\n")
  set(hosts "")
  foreach(target ${targets})
    get_target_property(kind ${target} TRAWLIX_PCH_KIND)
    set(headers ${TRAWLIX_PCH_${kind}})
    # Replaces any header list the target had, so each file is parsed against one header.
    set_property(TARGET ${target} PROPERTY PRECOMPILE_HEADERS)
    _trawlix_pch_flag_sources(${target} sources)
    get_target_property(own_definitions ${target} COMPILE_DEFINITIONS)
    get_target_property(own_options ${target} COMPILE_OPTIONS)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      target_compile_options(${target} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
    endif()
    get_target_property(pic ${target} POSITION_INDEPENDENT_CODE)
    # Qt Test's macros name the test's own folders.
    if(own_definitions OR own_options OR pic OR "Qt6::Test" IN_LIST sources)
      target_precompile_headers(${target} PRIVATE ${headers})
      continue()
    endif()
    string(SHA1 key "${kind};${sources}")
    string(SUBSTRING ${key} 0 8 key)
    set(host trawlix_pch_${kind}_${key})
    if(NOT host IN_LIST hosts)
      list(APPEND hosts ${host})
      add_library(${host} OBJECT ${host_source})
      target_link_libraries(${host} PRIVATE trawlix_options ${sources})
      target_precompile_headers(${host} PRIVATE ${headers})
      if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        target_compile_options(${host} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
      endif()
    endif()
    set_property(TARGET ${target} PROPERTY PRECOMPILE_HEADERS_REUSE_FROM ${host})
  endforeach()
endfunction()

if(TRAWLIX_PCH)
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _trawlix_precompile_all)
else()
  # The test programs' own header list stays out too.
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _trawlix_precompile_none)
endif()

function(_trawlix_precompile_none)
  get_property(targets GLOBAL PROPERTY TRAWLIX_PCH_TARGETS)
  foreach(target ${targets})
    set_property(TARGET ${target} PROPERTY PRECOMPILE_HEADERS)
  endforeach()
endfunction()
