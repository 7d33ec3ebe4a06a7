# Installs the build into a fresh prefix and checks that the installed
# command line finds its run-time files in <prefix>/share/lexicrawl.
#   cmake -DBUILD=<build dir> -P install_layout_test.cmake
set(prefix ${BUILD}/install-layout-test)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file bin/lexicrawl-cli share/lexicrawl/empty.db share/lexicrawl/Languages/German.lang.txt
             share/lexicrawl/Dictionaries/en_US.oxt share/applications/lexicrawl.desktop
             share/icons/hicolor/scalable/apps/lexicrawl.svg)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
execute_process(COMMAND ${prefix}/bin/lexicrawl-cli dictionaries --data-folder ${prefix}/data
                OUTPUT_VARIABLE listed RESULT_VARIABLE listedStatus)
if(NOT listedStatus EQUAL 0 OR NOT listed MATCHES "English \\(United States\\)")
  message(FATAL_ERROR "the installed lexicrawl-cli did not find its dictionaries: ${listed}")
endif()
file(REMOVE_RECURSE ${prefix})
