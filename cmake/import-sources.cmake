# The libraries of the bookmark import, built from the sources that
# tools/fetch-import-sources puts into VORLINDO_IMPORT_SOURCES, for a build
# whose system has none of them (the Windows cross-build). Defines the targets
# the import links: vorlindo_gumbo, SQLite::SQLite3 and
# nlohmann_json::nlohmann_json. Their headers are reached as system headers
# from these folders alone, never from the host's /usr/include. They are
# other people's code: built with their own warnings left unreported, and
# without debugging information, which only makes their build slower.
enable_language(C)
set(import_sources ${VORLINDO_IMPORT_SOURCES})

file(GLOB gumbo_sources CONFIGURE_DEPENDS ${import_sources}/gumbo/src/*.c)
add_library(vorlindo_gumbo STATIC ${gumbo_sources})
target_include_directories(vorlindo_gumbo SYSTEM PUBLIC ${import_sources}/gumbo/include
                           PRIVATE ${import_sources}/gumbo/src)
set_target_properties(vorlindo_gumbo PROPERTIES C_STANDARD 99 C_EXTENSIONS ON)
target_compile_options(vorlindo_gumbo PRIVATE -w -g0)

# SQLite as the import uses it: read from memory through a file system of the
# import's own, by one connection at a time on any thread; it never loads
# extensions.
add_library(vorlindo_sqlite STATIC ${import_sources}/sqlite3/sqlite3.c)
target_include_directories(vorlindo_sqlite SYSTEM PUBLIC ${import_sources}/sqlite3)
target_compile_definitions(vorlindo_sqlite PRIVATE SQLITE_OMIT_LOAD_EXTENSION
                                                   SQLITE_DEFAULT_MEMSTATUS=0)
target_compile_options(vorlindo_sqlite PRIVATE -w -g0)
add_library(SQLite::SQLite3 ALIAS vorlindo_sqlite)

add_library(vorlindo_nlohmann_json INTERFACE)
target_include_directories(vorlindo_nlohmann_json SYSTEM
                           INTERFACE ${import_sources}/nlohmann-json)
add_library(nlohmann_json::nlohmann_json ALIAS vorlindo_nlohmann_json)
