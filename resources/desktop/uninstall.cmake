# Takes away what `make install` put in place: every file of the build's
# install manifest, then the folders that installation made, if nothing else
# has come into them since. Both records leave DESTDIR out, so the same
# DESTDIR must be given again. Run as
#
#     [DESTDIR=...] cmake -DBUILD_DIR=build -P resources/desktop/uninstall.cmake
if(NOT BUILD_DIR)
  message(FATAL_ERROR "BUILD_DIR names the build folder that was installed from")
endif()
set(manifest "${BUILD_DIR}/install_manifest.txt")
set(record "${BUILD_DIR}/install_folders.txt")
if(NOT EXISTS "${manifest}")
  message(FATAL_ERROR "Nothing to uninstall: ${manifest} is missing (make install writes it)")
endif()

file(STRINGS "${manifest}" files)
foreach(installed ${files})
  set(file "$ENV{DESTDIR}${installed}")
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
endforeach()

if(EXISTS "${record}")
  file(STRINGS "${record}" folders)
  list(REMOVE_DUPLICATES folders)
  # A folder sorts after its parent, so this order empties the deepest first.
  list(SORT folders ORDER DESCENDING)
  foreach(made ${folders})
    set(folder "$ENV{DESTDIR}${made}")
    file(GLOB entries LIST_DIRECTORIES true "${folder}/*" "${folder}/.*")
    if(IS_DIRECTORY "${folder}" AND NOT entries)
      message(STATUS "Removing ${folder}/")
      file(REMOVE_RECURSE "${folder}")
    endif()
  endforeach()
  file(REMOVE "${record}")
endif()
file(REMOVE "${manifest}")
