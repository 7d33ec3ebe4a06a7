# Installs the build into a fresh prefix and checks that the installed
# command line finds its run-time files in <prefix>/share/lexicrawl, keeps its
# own files in the per-user folder (XDG data home), reads the dictionaries the
# user drops there, and writes nothing under the prefix.
#   cmake -DBUILD=<build dir> -P install_layout_test.cmake
set(scratch ${BUILD}/install-layout-test)
set(prefix ${scratch}/prefix)
set(home ${scratch}/home)
file(REMOVE_RECURSE ${scratch})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file bin/lexicrawl-cli share/lexicrawl/empty.db share/lexicrawl/Languages/German.lang.txt
             share/lexicrawl/Dictionaries/en_US.oxt share/applications/lexicrawl.desktop
             share/icons/hicolor/scalable/apps/lexicrawl.svg
             share/man/man1/lexicrawl.1.gz share/man/man1/lexicrawl-cli.1.gz
             share/bash-completion/completions/lexicrawl-cli)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE installed_files LIST_DIRECTORIES true ${prefix}/*)

set(user_data ${home}/data/NORVANE/Lexicrawl)
set(run ${CMAKE_COMMAND} -E env HOME=${home} XDG_DATA_HOME=${home}/data)
execute_process(COMMAND ${run} ${prefix}/bin/lexicrawl-cli dictionaries
                OUTPUT_VARIABLE listed ERROR_VARIABLE folders RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT listed MATCHES "English \\(United States\\)")
  message(FATAL_ERROR "the installed lexicrawl-cli did not find its dictionaries: ${listed}${folders}")
endif()
if(NOT folders MATCHES "Your dictionaries \\(drop .oxt packages here\\): ${user_data}/Dictionaries"
   OR NOT folders MATCHES "Shipped dictionaries: ${prefix}/share/lexicrawl/Dictionaries")
  message(FATAL_ERROR "lexicrawl-cli dictionaries did not name its two folders: ${folders}")
endif()

# A package the user drops in is read beside the shipped ones.
file(COPY_FILE ${prefix}/share/lexicrawl/Dictionaries/en_US.oxt ${user_data}/Dictionaries/mine.oxt)
execute_process(COMMAND ${run} ${prefix}/bin/lexicrawl-cli dictionaries
                OUTPUT_VARIABLE listed RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT listed MATCHES "mine.oxt::en_US.aff" OR NOT listed MATCHES "\ten_US.oxt::en_US.aff")
  message(FATAL_ERROR "the user's dictionary was not read beside the shipped ones: ${listed}")
endif()
execute_process(COMMAND ${run} ${prefix}/bin/lexicrawl-cli check --dictionary "English (United States)" garden
                OUTPUT_VARIABLE checked RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT checked STREQUAL "garden\tknown\n")
  message(FATAL_ERROR "the installed lexicrawl-cli could not check a word: ${checked}")
endif()
file(GLOB verdicts ${user_data}/VerdictCache/*)
if(NOT verdicts)
  message(FATAL_ERROR "the verdict cache is not in the per-user folder ${user_data}")
endif()
file(GLOB_RECURSE after LIST_DIRECTORIES true ${prefix}/*)
if(NOT after STREQUAL installed_files)
  message(FATAL_ERROR "the installed program wrote under its prefix: ${after}")
endif()
file(REMOVE_RECURSE ${scratch})
