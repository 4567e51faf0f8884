# Installs the build under PREFIX and runs the installed programs from there:
# each tells its version and licence, and the tools find the sync component's folder.
#   cmake -DBUILD=dir -DPREFIX=dir -DBINDIR=bin -DPROGRAMS=a,b -P InstallCheck.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
set(bin ${PREFIX}/${BINDIR})
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{VEXA_SYNC_ROOT} ${PREFIX}/sync-root)

string(REPLACE "," ";" programs "${PROGRAMS}")
if(NOT programs)
    message(FATAL_ERROR "no programs to check (-DPROGRAMS=a,b)")
endif()
foreach(program ${programs})
    execute_process(COMMAND ${bin}/${program} --version OUTPUT_VARIABLE out
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT out MATCHES "^${program} [0-9]+\\.[0-9]+\\.[0-9]+\n"
       OR NOT out MATCHES "\nLicense GPL-3\\.0-or-later: ")
        message(FATAL_ERROR "${program} --version: '${out}' (${status})")
    endif()
endforeach()

# The tools reach the component: the demo through the logbook tool's run
# path, vexa-export by loading it from the component's folder.
execute_process(COMMAND ${bin}/vexa-logbook demo OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "installed vexa-logbook demo: ${err} (${status})")
endif()
execute_process(COMMAND ${bin}/vexa-export --list OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE status)
string(REGEX MATCHALL "\n" lines "${out}")
list(LENGTH lines count)
if(NOT status EQUAL 0 OR NOT count EQUAL 5)
    message(FATAL_ERROR "installed vexa-export --list: '${out}' '${err}' (${status})")
endif()

# Every demo Rirod log opens in the datalog viewers.
foreach(format MSL MLG)
    file(MAKE_DIRECTORY ${PREFIX}/logs-${format})
    execute_process(COMMAND ${bin}/vexa-export --all --format ${format} --out ${PREFIX}/logs-${format}
                    OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
    file(GLOB saved ${PREFIX}/logs-${format}/RirodLog*.${format})
    list(LENGTH saved count)
    if(NOT status EQUAL 0 OR NOT count EQUAL 5)
        message(FATAL_ERROR "installed vexa-export --format ${format}: ${count} files, '${err}'")
    endif()
endforeach()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/share/*)
set(wanted_files applications/io.github.vexasynch.VEXASynch.desktop
    metainfo/io.github.vexasynch.VEXASynch.metainfo.xml
    icons/hicolor/scalable/apps/io.github.vexasynch.VEXASynch.svg
    icons/hicolor/48x48/apps/io.github.vexasynch.VEXASynch.png
    man/man1/VEXASynch.1.gz
    doc/vexasynch/copyright)
if("VEXALogbook" IN_LIST programs)
    list(APPEND wanted_files applications/io.github.vexasynch.VEXALogbook.desktop
         man/man1/VEXALogbook.1.gz)
endif()
foreach(wanted ${wanted_files})
    if(NOT "share/${wanted}" IN_LIST installed)
        message(FATAL_ERROR "not installed: share/${wanted}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
