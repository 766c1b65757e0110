# SQLite for the library index: the system's library (Debian's libsqlite3-dev), or the SQLite
# amalgamation built into the program, so that the Windows program stays a single file. The
# amalgamation is taken at build time from the npm registry's better-sqlite3 package, which ships
# the plain sqlite3.c and sqlite3.h, unless TERROVA_SQLITE_AMALGAMATION names a sqlite3.c already
# on the machine. It is never committed.
set(TERROVA_SQLITE_AMALGAMATION "" CACHE FILEPATH
    "sqlite3.c of the SQLite amalgamation to build in; empty: the system's library (Windows: fetched)")
set(TERROVA_SQLITE_NPM_PACKAGE "better-sqlite3@12" CACHE STRING
    "The npm package whose deps/sqlite3 holds the amalgamation")

if(WIN32 AND NOT TERROVA_SQLITE_AMALGAMATION)
  set(fetch_dir ${CMAKE_BINARY_DIR}/sqlite-amalgamation)
  set(source ${fetch_dir}/package/deps/sqlite3/sqlite3.c)
  if(NOT EXISTS ${source})
    find_program(TERROVA_NPM npm REQUIRED)
    file(MAKE_DIRECTORY ${fetch_dir})
    execute_process(COMMAND ${TERROVA_NPM} pack ${TERROVA_SQLITE_NPM_PACKAGE} --silent
                    WORKING_DIRECTORY ${fetch_dir} OUTPUT_VARIABLE tarball
                    RESULT_VARIABLE npm_status OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT npm_status EQUAL 0 OR NOT EXISTS ${fetch_dir}/${tarball})
      message(FATAL_ERROR "npm pack ${TERROVA_SQLITE_NPM_PACKAGE} failed (${npm_status}); set "
                          "TERROVA_SQLITE_AMALGAMATION to a sqlite3.c")
    endif()
    file(ARCHIVE_EXTRACT INPUT ${fetch_dir}/${tarball} DESTINATION ${fetch_dir}
         PATTERNS package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h)
  endif()
  set(TERROVA_SQLITE_AMALGAMATION ${source})
endif()

if(TERROVA_SQLITE_AMALGAMATION)
  enable_language(C)
  add_library(terrova_sqlite STATIC ${TERROVA_SQLITE_AMALGAMATION})
  get_filename_component(sqlite_dir ${TERROVA_SQLITE_AMALGAMATION} DIRECTORY)
  target_include_directories(terrova_sqlite SYSTEM PUBLIC ${sqlite_dir})
  # The index needs no extensions, no shared cache and no memory statistics.
  target_compile_definitions(terrova_sqlite PRIVATE SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0
                                                    SQLITE_DEFAULT_MEMSTATUS=0)
  set(TERROVA_SQLITE_LIBRARY terrova_sqlite)
else()
  find_package(SQLite3 REQUIRED)
  # The static archive where the system has one (Debian's libsqlite3-dev does), so that a run of
  # one small file does not pay for loading the shared library, which only library runs use.
  find_library(TERROVA_SQLITE_STATIC NAMES libsqlite3.a)
  if(TERROVA_SQLITE_STATIC)
    add_library(terrova_sqlite INTERFACE)
    target_include_directories(terrova_sqlite SYSTEM INTERFACE ${SQLite3_INCLUDE_DIRS})
    target_link_libraries(terrova_sqlite INTERFACE ${TERROVA_SQLITE_STATIC} m ${CMAKE_DL_LIBS})
    set(TERROVA_SQLITE_LIBRARY terrova_sqlite)
  else()
    set(TERROVA_SQLITE_LIBRARY SQLite::SQLite3)
  endif()
endif()
