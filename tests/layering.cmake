# The subsystems build on each other in one order: platform, refdata, location, field, fertility,
# leaching, then the programs (app, cli). A file may include its own subsystem and those below it;
# an include that climbs the order makes the layers a cycle unless it is one of the exceptions
# below. Run as: cmake -DSOURCE_DIR=... -P layering.cmake
cmake_minimum_required(VERSION 3.20)
set(order platform refdata location field fertility leaching app cli)

# file relative to src/ | the subsystem it reaches up to | why
set(exceptions
    # The field names its nutrient file by the rule the fertilizer consultation writes it with.
    "field/field_doc.cpp|fertility"
    # Before a season run the field document reads the nitrogen values of its nutrient file.
    "field/nutrient_readback.cpp|fertility"
    # The field's window shows the nitrogen view of the leaching analysis beside its table.
    "field/ui/field_frame.cpp|leaching"
    # The location window's upper pane lists the open fields of the location.
    "location/ui/location_frame.cpp|field"
    "location/ui/location_summary.cpp|field"
    # The station form checks a station with the reference-ET helpers of the location.
    "refdata/station_form.cpp|location")

# The season run, the next-irrigation decision and the parts of a field (its saved values, their
# .fld encoding, its binding to a location) compute only: no file, no message, no fertility.
set(pure_sources field/season.h field/season_run.cpp field/water_balance.cpp
    field/next_irrigation.cpp field/saved_field.h field/saved_field.cpp field/field_file.h
    field/field_file.cpp field/location_binding.h field/location_binding.cpp)
set(impure_includes "platform/message_port.h" "platform/files.h" "platform/work_dir.h"
    "fertility/")

function(rank_of subsystem result)
    list(FIND order "${subsystem}" rank)
    # app and cli are the two programs: neither builds on the other.
    if(subsystem STREQUAL "cli")
        set(rank 6)
    endif()
    set(${result} ${rank} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h"
     "${SOURCE_DIR}/src/*.cpp")
set(offenders "")
foreach(file IN LISTS sources)
    string(REGEX MATCH "^[a-z]+" own "${file}")
    rank_of("${own}" own_rank)
    if(own_rank LESS 0)
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/src/${file}" includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
        rank_of("${target}" target_rank)
        if(target_rank LESS 0 OR target STREQUAL own)
            continue()
        endif()
        if(target_rank LESS own_rank)
            continue()
        endif()
        if(NOT "${file}|${target}" IN_LIST exceptions)
            list(APPEND offenders "${file}: ${line}")
        endif()
    endforeach()
endforeach()

foreach(file IN LISTS pure_sources)
    file(STRINGS "${SOURCE_DIR}/src/${file}" includes REGEX "^#include ")
    foreach(line IN LISTS includes)
        foreach(impure IN LISTS impure_includes)
            string(FIND "${line}" "\"${impure}" at)
            if(at GREATER_EQUAL 0)
                list(APPEND offenders "${file}: ${line} (it computes only)")
            endif()
        endforeach()
    endforeach()
endforeach()

if(offenders)
    list(JOIN offenders "\n" text)
    message(FATAL_ERROR "Includes against the order of the layers:\n${text}")
endif()
