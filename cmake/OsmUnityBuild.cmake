# Units of several C++ sources, compiled as one: most of a source's time goes to the Windows, class library and test
# headers, which a unit reads once for all of its sources.
#
# CMake's own unity build includes each source by its absolute path, so a unit's text, and with it the compiler
# cache's key, differs in every folder the tree is cloned to. These units include their sources by a path relative
# to the unit itself: a clone in another folder, with its build tree in the same place within it, compiles the same
# text and reuses what the cache holds.
#
# osm_unity_build(BATCH n [ONLY_UNLINKED_BY target...]): at the end of the top-level list, puts the C++ sources of
# every target of the tree (not third-party code) into units of n sources. A source stays alone when it is marked
# SKIP_UNITY_BUILD_INCLUSION or has compile options, definitions or include folders of its own. With
# ONLY_UNLINKED_BY, the targets that one of the given programs links (directly or through others) keep their
# sources apart: such a program takes a library's objects whole, and a unit would bring its unused neighbours (and
# what they import) along.

# Every target made in the directory and below it.
function(osm_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    osm_collect_targets(${subdir} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The targets a target links, directly or through others (plain names only).
function(osm_linked_targets target out)
  set(seen ${target})
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(links ${current} ${property})
      if(NOT links)
        continue()
      endif()
      foreach(link IN LISTS links)
        if(TARGET ${link} AND NOT link IN_LIST seen)
          list(APPEND seen ${link})
          list(APPEND queue ${link})
        endif()
      endforeach()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(osm_unity_build)
  cmake_parse_arguments(U "" "BATCH" "ONLY_UNLINKED_BY" ${ARGN})
  set(kept_apart)
  foreach(program IN LISTS U_ONLY_UNLINKED_BY)
    if(TARGET ${program})
      osm_linked_targets(${program} linked)
      list(APPEND kept_apart ${linked})
    endif()
  endforeach()
  osm_collect_targets(${CMAKE_SOURCE_DIR} targets)

  # The targets whose sources go into units, and the sources that must stay compiled on their own: those of the
  # targets kept apart (a source's properties hold for its whole folder, so one taken into a unit would be gone from
  # every target of the folder).
  set(unit_targets)
  set(single_sources)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(target_dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH from_root ${CMAKE_SOURCE_DIR} ${target_dir})
    if(from_root MATCHES "^(\\.\\./|third_party)" OR IS_ABSOLUTE "${from_root}")
      continue()
    endif()
    if(target IN_LIST kept_apart)
      osm_unit_sources(${target} sources)
      list(APPEND single_sources ${sources})
    else()
      list(APPEND unit_targets ${target})
    endif()
  endforeach()

  # Every unit is planned before any source is marked: a source that two targets of one folder share goes into a
  # unit of each.
  set(plans)
  foreach(target IN LISTS unit_targets)
    osm_unit_sources(${target} sources)
    set(batch)
    set(count 0)
    set(index 0)
    foreach(source IN LISTS sources)
      if(source IN_LIST single_sources)
        continue()
      endif()
      list(APPEND batch ${source})
      math(EXPR count "${count} + 1")
      if(count EQUAL U_BATCH)
        set(osm_plan_${target}_${index} ${batch})
        list(APPEND plans ${target}|${index})
        math(EXPR index "${index} + 1")
        set(batch)
        set(count 0)
      endif()
    endforeach()
    if(batch)
      set(osm_plan_${target}_${index} ${batch})
      list(APPEND plans ${target}|${index})
    endif()
  endforeach()

  foreach(plan IN LISTS plans)
    string(REPLACE "|" ";" parts ${plan})
    list(GET parts 0 target)
    list(GET parts 1 index)
    osm_write_unit(${target} ${index} "${osm_plan_${target}_${index}}")
  endforeach()
endfunction()

# The target's C++ sources that may go into a unit, as absolute paths in the target's order: not those marked
# SKIP_UNITY_BUILD_INCLUSION, not headers or generated files, and not those with compile settings of their own.
function(osm_unit_sources target out)
  get_target_property(target_dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  set(result)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\$<" OR NOT source MATCHES "\\.(cpp|cxx|cc)$")
      continue()
    endif()
    if(NOT IS_ABSOLUTE ${source})
      set(source ${target_dir}/${source})
    endif()
    set(alone FALSE)
    foreach(property SKIP_UNITY_BUILD_INCLUSION HEADER_FILE_ONLY GENERATED COMPILE_OPTIONS COMPILE_DEFINITIONS
                     COMPILE_FLAGS INCLUDE_DIRECTORIES)
      get_source_file_property(value ${source} TARGET_DIRECTORY ${target} ${property})
      if(value)
        set(alone TRUE)
      endif()
    endforeach()
    if(NOT alone)
      list(APPEND result ${source})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Writes a unit of the target (only when its text changes, so an unchanged tree compiles nothing again) and takes its
# sources out of the build on their own.
function(osm_write_unit target index batch)
  get_target_property(binary_dir ${target} BINARY_DIR)
  set(unit_dir ${binary_dir}/osm-unity/${target})
  set(unit ${unit_dir}/unity_${index}.cpp)
  set(text "// Generated by the build: ${target}'s sources, compiled as one.\n")
  foreach(source IN LISTS batch)
    file(RELATIVE_PATH relative ${unit_dir} ${source})
    string(APPEND text "#include \"${relative}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${unit} CONTENT "${text}" @ONLY)
  target_sources(${target} PRIVATE ${unit})
  set_source_files_properties(${batch} TARGET_DIRECTORY ${target} PROPERTIES HEADER_FILE_ONLY ON)
endfunction()
