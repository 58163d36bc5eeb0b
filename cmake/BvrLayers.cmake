# The layers of the tree, lowest first. A target may link targets of its own layer or lower
# ones only; the Qt Gui layers (report, print, batch, printing, the tool) link no Widgets or
# PrintSupport, so that the command-line tool runs without a widget toolkit; a source file (or
# the header beside it) includes from its own folder and from folders of its layer or lower
# ones. Fails the configuration otherwise. Needs _bvr_collect_links from BvrCoreIsQtFree.cmake.
set(BVR_LAYERS
  "core:bvr_core,bvr_qrbill,bvr_batch_core,bvr_qrencode"
  "draw:bvr_draw,bvr_qrprint"
  "pdf:bvr_pdf,bvr_pdfwrite"
  "reading:bvr_reading"
  "report:bvr_report"
  "print:bvr_print"
  "batch:bvr_batch"
  "payments:bvr_payments"
  "printing:bvr_printing"
  "tool:bvrslip"
  "preview:bvr_preview"
  "editing:bvr_editing"
  "designer:bvr_designer"
  "app:bvr_app,ZoviRUR"
  "qrapp:bvr_qrapp,factures-qr")
set(BVR_NO_WIDGETS_LAYERS core draw pdf reading report print batch payments printing tool)
# The layer each folder of src/ belongs to, for its includes ("folder/File.h").
set(BVR_FOLDER_LAYERS
  strings:core numbers:core model:core qrbill:core draw:draw qrprint:draw report:report print:print batch:batch
  printing:printing cli:tool pdf:pdf pdfwrite:pdf reading:reading payments:payments preview:preview editing:editing
  designer:designer app:app qrapp:qrapp)

# The layer names alone, lowest first: a layer's index is its place in this list.
set(BVR_LAYER_NAMES "")
foreach(entry IN LISTS BVR_LAYERS)
  string(REGEX REPLACE ":.*" "" layer "${entry}")
  list(APPEND BVR_LAYER_NAMES ${layer})
endforeach()

# The index of the layer called name, or "" for a name that is no layer.
function(_bvr_layer_index name out_var)
  list(FIND BVR_LAYER_NAMES "${name}" index)
  if(index EQUAL -1)
    set(index "")
  endif()
  set(${out_var} "${index}" PARENT_SCOPE)
endfunction()

# Fails when a source of target (at layer own_index) includes a folder of a higher layer.
function(_bvr_check_includes target own_index own_name)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  if(NOT sources)
    return()
  endif()
  foreach(source IN LISTS sources)
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${dir}/${source}")
    endif()
    get_filename_component(source_dir "${source}" DIRECTORY)
    get_filename_component(own_folder "${source_dir}" NAME)
    string(REGEX REPLACE "\\.cpp$" ".h" header "${source}")
    foreach(file IN ITEMS "${source}" "${header}")
      if(NOT EXISTS "${file}")
        continue()
      endif()
      file(STRINGS "${file}" includes REGEX "^#include \"[a-z]+/")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" folder "${line}")
        if(folder STREQUAL own_folder)
          continue()
        endif()
        foreach(entry IN LISTS BVR_FOLDER_LAYERS)
          string(REPLACE ":" ";" parts "${entry}")
          list(GET parts 0 name)
          list(GET parts 1 layer)
          if(name STREQUAL folder)
            _bvr_layer_index(${layer} their_index)
            if(their_index GREATER own_index)
              message(FATAL_ERROR "${file} (${target}, layer ${own_name}) must not include "
                                  "${folder}/ (layer ${layer}, above it): ${line}")
            endif()
          endif()
        endforeach()
      endforeach()
    endforeach()
  endforeach()
endfunction()

function(_bvr_layer_of target out_var)
  set(index 0)
  foreach(entry IN LISTS BVR_LAYERS)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 members)
    string(REPLACE "," ";" members "${members}")
    if(target IN_LIST members)
      set(${out_var} "${index};${name}" PARENT_SCOPE)
      return()
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out_var} "" PARENT_SCOPE)
endfunction()

function(bvr_check_layers)
  foreach(entry IN LISTS BVR_LAYERS)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 1 members)
    string(REPLACE "," ";" members "${members}")
    foreach(target IN LISTS members)
      if(NOT TARGET ${target})
        continue()
      endif()
      _bvr_layer_of(${target} own)
      list(GET own 0 own_index)
      list(GET own 1 own_name)
      _bvr_check_includes(${target} ${own_index} ${own_name})
      set(links "")
      _bvr_collect_links(${target} links)
      foreach(lib IN LISTS links)
        _bvr_layer_of("${lib}" theirs)
        if(theirs)
          list(GET theirs 0 their_index)
          list(GET theirs 1 their_name)
          if(their_index GREATER own_index)
            message(FATAL_ERROR "${target} (layer ${own_name}) must not link ${lib} "
                                "(layer ${their_name}, above it)")
          endif()
        endif()
        if(own_name IN_LIST BVR_NO_WIDGETS_LAYERS AND lib MATCHES "Qt6::(Widgets|PrintSupport)")
          message(FATAL_ERROR "${target} (layer ${own_name}) must not link ${lib}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
