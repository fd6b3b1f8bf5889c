# The directory library the shipped program links: the stand-in, or the control system's own.
#
# ARBOLIX_DIRAPI_LIBRARY names the site's library file, whatever its name or soname. It is checked
# here, before anything is built: a file that is missing, cannot be linked, needs a library that
# cannot be found, or lacks one of the five functions (or has one as data) stops the
# configuration with one line that says so. Only the program `arbolix`
# links it (through the target arbolix_directory_library); the tests, the benchmark and the fuzz
# targets keep the stand-in.
set(ARBOLIX_DIRAPI_LIBRARY "" CACHE FILEPATH
    "The control system's directory library for the program to link (empty: the stand-in)")
set(ARBOLIX_DIRAPI_DEPENDS "" CACHE STRING
    "What the program's Debian package depends on for a site's directory library (empty: nothing)")

set(ARBOLIX_DIRAPI_FUNCTIONS get_maxobj an_all_sta an_all_cmp an_all_blk an_exit)
set(_arbolix_dirapi_probe ${CMAKE_CURRENT_LIST_DIR}/dirapiprobe.c)

# _arbolix_probe_link(RESULT OUTPUT LIBRARY FUNCTIONS...): links a program calling FUNCTIONS
# (none: only linking the file) against LIBRARY (empty: none), as the program is linked.
function(_arbolix_probe_link result output library)
    set(definitions "")
    foreach(function IN LISTS ARGN)
        list(APPEND definitions -DPROBE_${function})
    endforeach()
    set(libraries "")
    if(library)
        set(libraries LINK_LIBRARIES ${library})
    endif()
    try_compile(linked ${CMAKE_BINARY_DIR}/CMakeFiles/dirapi_probe
        SOURCES ${_arbolix_dirapi_probe}
        COMPILE_DEFINITIONS ${definitions}
        CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${CMAKE_SOURCE_DIR}"
        ${libraries}
        OUTPUT_VARIABLE log
        COPY_FILE ${CMAKE_BINARY_DIR}/CMakeFiles/dirapi_probe.out
        NO_CACHE)
    set(${result} ${linked} PARENT_SCOPE)
    set(${output} "${log}" PARENT_SCOPE)
endfunction()

# _arbolix_elf_header(FILE PREFIX): PREFIX_ELF (TRUE/FALSE), PREFIX_CLASS (1: 32-bit, 2: 64-bit),
# PREFIX_TYPE (3: shared object) and PREFIX_MACHINE (the ELF machine number) of FILE.
function(_arbolix_elf_header file prefix)
    file(READ ${file} header LIMIT 20 HEX)
    string(LENGTH "${header}" length)
    if(length LESS 40 OR NOT header MATCHES "^7f454c46")
        set(${prefix}_ELF FALSE PARENT_SCOPE)
        return()
    endif()
    string(SUBSTRING "${header}" 8 2 class)
    string(SUBSTRING "${header}" 10 2 order) # 01: little-endian
    string(SUBSTRING "${header}" 32 4 type)
    string(SUBSTRING "${header}" 36 4 machine)
    if(order STREQUAL "01") # the two bytes of each half-word, low first
        string(REGEX REPLACE "^(..)(..)$" "\\2\\1" type "${type}")
        string(REGEX REPLACE "^(..)(..)$" "\\2\\1" machine "${machine}")
    endif()
    math(EXPR class "0x${class}")
    math(EXPR type "0x${type}")
    math(EXPR machine "0x${machine}")
    set(${prefix}_ELF TRUE PARENT_SCOPE)
    set(${prefix}_CLASS ${class} PARENT_SCOPE)
    set(${prefix}_TYPE ${type} PARENT_SCOPE)
    set(${prefix}_MACHINE ${machine} PARENT_SCOPE)
endfunction()

# _arbolix_refuse(PATH REASON): stops the configuration with one line, the path in quotes so a
# blank or a ';' in it cannot be mistaken for the reason (the leading blank keeps cmake from
# folding the line).
function(_arbolix_refuse path reason)
    message(FATAL_ERROR " ARBOLIX_DIRAPI_LIBRARY: \"${path}\" ${reason}")
endfunction()

# A dependency of PATH that the linker looked for and did not find, as ld says it in LOG
# ("warning: libx.so.1, needed by PATH, not found").
function(_arbolix_refuse_missing_dependency path log)
    if(log MATCHES "warning: ([^\n,]+), needed by [^\n]*, not found")
        _arbolix_refuse("${path}" "needs ${CMAKE_MATCH_1}, which cannot be found (neither in the \
linker's folders nor through the library's run path)")
    endif()
endfunction()

# Each of the five names must be a function in the dynamic symbol table of PATH: a data object
# under one of them links, but the call jumps into data.
function(_arbolix_check_dynamic_symbols path)
    set(readelf "${CMAKE_READELF}")
    if(NOT readelf)
        find_program(readelf NAMES readelf NO_CACHE)
    endif()
    if(NOT readelf)
        _arbolix_refuse("${path}" "cannot be checked: no readelf to read its symbol table")
    endif()
    execute_process(COMMAND "${readelf}" --dyn-syms --wide "${path}"
        OUTPUT_VARIABLE table ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        string(REGEX REPLACE "\n.*" "" errors "${errors}")
        _arbolix_refuse("${path}" "has no readable dynamic symbol table: ${errors}")
    endif()
    set(missing "")
    set(wrong "")
    foreach(function IN LISTS ARBOLIX_DIRAPI_FUNCTIONS)
        # "  5: 0000000000001139  11 FUNC  GLOBAL DEFAULT  14 an_exit" (a version may follow @)
        if(NOT table MATCHES "\n[^\n]* ([A-Z_]+) +(GLOBAL|WEAK) +[A-Z_]+ +([0-9]+|ABS|COM) ${function}(@[^\n]*)?\n")
            list(APPEND missing ${function})
        elseif(CMAKE_MATCH_1 STREQUAL "OBJECT")
            list(APPEND wrong "${function} as a data object")
        elseif(NOT CMAKE_MATCH_1 MATCHES "^I?FUNC$")
            list(APPEND wrong "${function} as a symbol of type ${CMAKE_MATCH_1}")
        endif()
    endforeach()
    if(missing)
        list(JOIN missing ", " missing)
        _arbolix_refuse("${path}" "lacks ${missing}")
    endif()
    if(wrong)
        list(JOIN wrong ", " wrong)
        _arbolix_refuse("${path}" "has ${wrong} where a function is needed")
    endif()
endfunction()

# Why PATH, which the linker did not take, is no library for this compiler.
function(_arbolix_explain_unlinkable path log)
    _arbolix_elf_header("${path}" library)
    if(NOT library_ELF)
        _arbolix_refuse("${path}" "is not a shared library (not an ELF file)")
    endif()
    _arbolix_probe_link(linked ignored "")
    if(linked)
        _arbolix_elf_header(${CMAKE_BINARY_DIR}/CMakeFiles/dirapi_probe.out own)
        if(own_ELF AND (NOT library_CLASS EQUAL own_CLASS OR NOT library_MACHINE EQUAL own_MACHINE))
            math(EXPR library_bits "${library_CLASS} * 32")
            math(EXPR own_bits "${own_CLASS} * 32")
            _arbolix_refuse("${path}" "is for another architecture (ELF machine ${library_MACHINE}, \
${library_bits}-bit; this compiler builds for machine ${own_MACHINE}, ${own_bits}-bit)")
        endif()
    endif()
    if(NOT library_TYPE EQUAL 3)
        _arbolix_refuse("${path}" "is not a shared library (ELF file type ${library_TYPE})")
    endif()
    # Whatever else the linker said, on one line.
    string(REGEX MATCH "[^\n]*(ld|error)[^\n]*: [^\n]*" said "${log}")
    string(STRIP "${said}" said)
    _arbolix_refuse("${path}" "cannot be linked by this compiler: ${said}")
endfunction()

function(arbolix_check_directory_library path)
    # A ';' would split the path into a list, a blank or a tab the link line: neither reaches
    # the linker as the one file meant.
    if("${path}" MATCHES ";")
        _arbolix_refuse("${path}" "holds a ';', which cmake takes as a list separator: use a \
path without one (a symbolic link will do)")
    endif()
    if("${path}" MATCHES "[ \t\n]")
        _arbolix_refuse("${path}" "holds white space, which the link line cannot carry: use a \
path without blanks or tabs (a symbolic link will do)")
    endif()
    if(NOT IS_ABSOLUTE "${path}")
        _arbolix_refuse("${path}" "is not an absolute path")
    endif()
    if(IS_DIRECTORY "${path}")
        _arbolix_refuse("${path}" "is a directory, not a library")
    endif()
    if(NOT EXISTS "${path}")
        _arbolix_refuse("${path}" "does not exist")
    endif()

    # A file checked before and unchanged since is not probed again.
    file(TIMESTAMP "${path}" stamp "%s" UTC)
    file(SIZE "${path}" size)
    set(identity "${path};${stamp};${size}")
    if("${identity}" STREQUAL "${_ARBOLIX_DIRAPI_LIBRARY_CHECKED}")
        return()
    endif()

    _arbolix_probe_link(linked log "${path}")
    _arbolix_refuse_missing_dependency("${path}" "${log}")
    if(NOT linked)
        _arbolix_explain_unlinkable("${path}" "${log}")
    endif()
    # An archive links too, but it would put the library into the program.
    _arbolix_elf_header("${path}" library)
    if(NOT library_ELF)
        _arbolix_refuse("${path}" "is not a shared library (not an ELF file: an archive?)")
    elseif(NOT library_TYPE EQUAL 3)
        _arbolix_refuse("${path}" "is not a shared library (ELF file type ${library_TYPE})")
    endif()

    _arbolix_check_dynamic_symbols("${path}")

    _arbolix_probe_link(linked log "${path}" ${ARBOLIX_DIRAPI_FUNCTIONS})
    _arbolix_refuse_missing_dependency("${path}" "${log}")
    if(NOT linked)
        # The linker names what it missed ("undefined reference to `an_exit'" from ld,
        # "undefined symbol: an_exit" from lld); failing that, each function is linked alone.
        set(missing "")
        foreach(function IN LISTS ARBOLIX_DIRAPI_FUNCTIONS)
            if(log MATCHES "undefined (reference to `|symbol: )${function}([^a-z_]|$)")
                list(APPEND missing ${function})
            endif()
        endforeach()
        if(NOT missing)
            foreach(function IN LISTS ARBOLIX_DIRAPI_FUNCTIONS)
                _arbolix_probe_link(linked log "${path}" ${function})
                if(NOT linked)
                    list(APPEND missing ${function})
                endif()
            endforeach()
        endif()
        if(NOT missing)
            _arbolix_refuse("${path}" "cannot be linked with all five functions together")
        endif()
        list(JOIN missing ", " missing)
        _arbolix_refuse("${path}" "lacks ${missing}")
    endif()
    set(_ARBOLIX_DIRAPI_LIBRARY_CHECKED "${identity}" CACHE INTERNAL "")
    message(STATUS "Directory library: ${path}")
endfunction()

add_library(arbolix_directory_library INTERFACE)
if(ARBOLIX_DIRAPI_LIBRARY)
    arbolix_check_directory_library("${ARBOLIX_DIRAPI_LIBRARY}")
    add_library(arbolix_site_dirapi SHARED IMPORTED)
    set_target_properties(arbolix_site_dirapi PROPERTIES IMPORTED_LOCATION ${ARBOLIX_DIRAPI_LIBRARY})
    target_link_libraries(arbolix_directory_library INTERFACE arbolix_site_dirapi)
else()
    target_link_libraries(arbolix_directory_library INTERFACE dirapi)
endif()
