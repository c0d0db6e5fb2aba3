# Finds FLINT with Arb, in either of the two layouts that distributions ship:
#
#   FLINT 3 (Debian 13, Ubuntu 24.04): Arb is part of FLINT, its headers are
#     flint/arb.h and the like, and there is one library, flint;
#   FLINT 2.9 with Arb apart (Debian 12): Arb's headers at the top include
#     level (arb.h), its library flint-arb (Debian's name) or arb.
#
# Arb's headers include FLINT's by bare name (fmpz.h), so FLINT's own include
# folder, .../include/flint, goes on the include path in both layouts; with it
# the code includes Arb's headers by bare name (<arb.h>) whichever the layout.
#
# Defines FLINT_FOUND, FLINT_VERSION, FLINT_WITH_ARB ("inside FLINT" or the
# separate Arb library found) and the imported target FLINT::arb (FLINT, Arb
# and GMP). With REQUIRED, a machine without them stops with the packages to
# install.

find_path(FLINT_INCLUDE_DIR flint/fmpq.h)
find_library(FLINT_LIBRARY NAMES flint)
find_library(FLINT_GMP_LIBRARY NAMES gmp)

set(FLINT_VERSION "")
if(FLINT_INCLUDE_DIR)
    foreach(header flint.h flint-config.h)
        if(NOT FLINT_VERSION AND EXISTS ${FLINT_INCLUDE_DIR}/flint/${header})
            file(STRINGS ${FLINT_INCLUDE_DIR}/flint/${header} version_line
                 REGEX "^#define[ \t]+FLINT_VERSION[ \t]+\"")
            string(REGEX REPLACE ".*\"([^\"]*)\".*" "\\1" FLINT_VERSION "${version_line}")
        endif()
    endforeach()
endif()

set(FLINT_WITH_ARB "")
set(flint_arb_include_dir "")
set(flint_arb_library "")
if(FLINT_INCLUDE_DIR AND EXISTS ${FLINT_INCLUDE_DIR}/flint/arb.h)
    set(FLINT_WITH_ARB "inside FLINT")
elseif(FLINT_INCLUDE_DIR)
    find_path(FLINT_ARB_INCLUDE_DIR arb_fmpz_poly.h PATH_SUFFIXES flint-arb arb)
    find_library(FLINT_ARB_LIBRARY NAMES flint-arb arb)
    if(FLINT_ARB_INCLUDE_DIR AND FLINT_ARB_LIBRARY)
        set(FLINT_WITH_ARB ${FLINT_ARB_LIBRARY})
        set(flint_arb_include_dir ${FLINT_ARB_INCLUDE_DIR})
        set(flint_arb_library ${FLINT_ARB_LIBRARY})
    endif()
endif()

if(FLINT_LIBRARY AND FLINT_GMP_LIBRARY AND FLINT_WITH_ARB)
    set(FLINT_FOUND TRUE)
else()
    set(FLINT_FOUND FALSE)
endif()

if(FLINT_FOUND AND NOT TARGET FLINT::arb)
    add_library(FLINT::arb INTERFACE IMPORTED)
    target_include_directories(FLINT::arb SYSTEM INTERFACE
        ${flint_arb_include_dir} ${FLINT_INCLUDE_DIR} ${FLINT_INCLUDE_DIR}/flint)
    target_link_libraries(FLINT::arb INTERFACE
        ${flint_arb_library} ${FLINT_LIBRARY} ${FLINT_GMP_LIBRARY})
endif()

if(FLINT_FOUND)
    if(NOT FLINT_FIND_QUIETLY)
        message(STATUS "Found FLINT ${FLINT_VERSION} with Arb (${FLINT_WITH_ARB})")
    endif()
elseif(FLINT_FIND_REQUIRED)
    if(FLINT_LIBRARY AND FLINT_INCLUDE_DIR)
        set(flint_found_text "Found FLINT ${FLINT_VERSION}, without Arb.")
    else()
        set(flint_found_text "FLINT was not found.")
    endif()
    message(FATAL_ERROR
        "${flint_found_text} ordimet-analyse needs FLINT with Arb: on Debian 13 or "
        "Ubuntu 24.04 (FLINT 3, Arb inside) the package libflint-dev; on Debian 12 "
        "(FLINT 2.9) libflint-dev and libflint-arb-dev. tools/install-dependencies "
        "installs them and everything else the build and the tests need. To build "
        "ordimet alone, configure with -DORDIMET_BUILD_ANALYSE=OFF.")
endif()
