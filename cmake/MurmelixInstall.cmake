# Where everything goes on `cmake --install`, and the Debian package built from that.
#
# The desktop program opens its help files from the folder of its own executable (symlinks
# resolved), so program and help files share one private folder and the command in bin/ is a
# relative symlink into it. A relative link keeps the tree relocatable: the same layout works
# under /usr, /usr/local, ~/.local and inside the package's staging root.

include(GNUInstallDirs)

set(MURMELIX_INSTALL_PROGRAMDIR "lib/murmelix"
    CACHE STRING "Folder, under the prefix, that holds the desktop program and its help files")

set(murmelix_packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(murmelix_generated_dir "${PROJECT_BINARY_DIR}/packaging")
# The day this version was released: the man pages, the AppStream release and the package's
# changelog carry it.
set(MURMELIX_RELEASE_DATE 2026-12-08)
set(MURMELIX_MAINTAINER "Murmelix team <team@murmelix.example.org>")
set(murmelix_help_names manual.html quickstart.html)

# The help pages are written alongside the code; a checkout without them still configures and
# builds (the install check reports them missing). The glob re-runs on every build, so pages
# that appear later are picked up without a manual reconfigure.
set(murmelix_help_patterns "")
foreach(name IN LISTS murmelix_help_names)
  list(APPEND murmelix_help_patterns "${PROJECT_SOURCE_DIR}/docs/${name}")
endforeach()
file(GLOB murmelix_help_files CONFIGURE_DEPENDS ${murmelix_help_patterns})
list(SORT murmelix_help_files)

# Turns a folder under the prefix into an absolute one, for working out relative links.
function(murmelix_full_install_dir dir out)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

# Copies the help pages beside the built executable, so F1 works in the build tree too.
function(murmelix_copy_help_to_build_tree)
  if(NOT murmelix_help_files)
    return()
  endif()
  add_custom_target(murmelix_help_files
                    COMMAND "${CMAKE_COMMAND}" -E copy_if_different ${murmelix_help_files}
                            "$<TARGET_FILE_DIR:murmelix>"
                    DEPENDS ${murmelix_help_files}
                    COMMENT "Copying the help files beside murmelix"
                    VERBATIM)
  add_dependencies(murmelix murmelix_help_files)
endfunction()

# bin/murmelix -> ../lib/murmelix/murmelix, made at install time so that DESTDIR and a
# --prefix given to `cmake --install` are honoured.
function(murmelix_install_command_link)
  murmelix_full_install_dir("${CMAKE_INSTALL_BINDIR}" bin_full)
  murmelix_full_install_dir("${MURMELIX_INSTALL_PROGRAMDIR}" program_full)
  file(RELATIVE_PATH link_target "${bin_full}" "${program_full}/murmelix")
  if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    set(link_dir "\$ENV{DESTDIR}${CMAKE_INSTALL_BINDIR}")
  else()
    set(link_dir "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
  endif()
  install(CODE "
    set(murmelix_link \"${link_dir}/murmelix\")
    message(STATUS \"Installing: \${murmelix_link} -> ${link_target}\")
    file(MAKE_DIRECTORY \"${link_dir}\")
    file(CREATE_LINK \"${link_target}\" \"\${murmelix_link}\" RESULT murmelix_link_result SYMBOLIC)
    if(NOT murmelix_link_result EQUAL 0)
      message(FATAL_ERROR \"Cannot create \${murmelix_link}: \${murmelix_link_result}\")
    endif()
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${murmelix_link}\")
  ")
endfunction()

function(murmelix_install_desktop_program)
  install(TARGETS murmelix RUNTIME DESTINATION "${MURMELIX_INSTALL_PROGRAMDIR}")
  if(murmelix_help_files)
    install(FILES ${murmelix_help_files} DESTINATION "${MURMELIX_INSTALL_PROGRAMDIR}")
  endif()
  murmelix_install_command_link()

  install(FILES "${murmelix_packaging_dir}/murmelix.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  set(icons "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
  foreach(size 48 128 256)
    install(FILES "${murmelix_packaging_dir}/murmelix-${size}.png"
            DESTINATION "${icons}/${size}x${size}/apps"
            RENAME murmelix.png)
  endforeach()
  install(FILES "${murmelix_packaging_dir}/murmelix.svg" DESTINATION "${icons}/scalable/apps")
  install(FILES "${murmelix_packaging_dir}/murmelix-mime.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
          RENAME murmelix.xml)
endfunction()

# Man pages are installed compressed, as the Debian package must hold them; man reads
# them either way.
function(murmelix_install_man_page name)
  set(page "${murmelix_generated_dir}/${name}.1")
  configure_file("${PROJECT_SOURCE_DIR}/docs/man/${name}.1.in" "${page}" @ONLY)
  add_custom_command(OUTPUT "${page}.gz"
                     COMMAND gzip -9nkf "${page}"
                     DEPENDS "${page}"
                     COMMENT "Compressing the man page ${name}.1"
                     VERBATIM)
  add_custom_target(murmelix_man_${name} ALL DEPENDS "${page}.gz")
  install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()

function(murmelix_install_desktop_metadata)
  set(metainfo org.example.murmelix.metainfo.xml)
  configure_file("${murmelix_packaging_dir}/${metainfo}.in" "${murmelix_generated_dir}/${metainfo}"
                 @ONLY)
  install(FILES "${murmelix_generated_dir}/${metainfo}"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  murmelix_install_man_page(murmelix)
endfunction()

function(murmelix_install_command_line_tool)
  murmelix_install_man_page(murmelix-cli)
  install(FILES "${murmelix_packaging_dir}/murmelix-cli.bash-completion"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions"
          RENAME murmelix-cli)
endfunction()

# The package's version carries no Debian revision, which makes it a native package: its
# changelog is changelog.gz in its documentation folder.
function(murmelix_install_changelog)
  execute_process(COMMAND date -u -R -d "${MURMELIX_RELEASE_DATE} 12:00"
                  OUTPUT_VARIABLE murmelix_release_time
                  OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE date_result)
  if(NOT date_result EQUAL 0)
    return()
  endif()
  set(changelog "${murmelix_generated_dir}/changelog")
  configure_file("${murmelix_packaging_dir}/changelog.in" "${changelog}" @ONLY)
  add_custom_command(OUTPUT "${changelog}.gz"
                     COMMAND gzip -9nkf "${changelog}"
                     DEPENDS "${changelog}"
                     VERBATIM)
  add_custom_target(murmelix_changelog ALL DEPENDS "${changelog}.gz")
  install(FILES "${changelog}.gz" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/murmelix")
  # Debian's packages carry their terms beside the changelog.
  install(FILES "${murmelix_packaging_dir}/copyright"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/murmelix")
endfunction()

if(TARGET murmelix-cli)
  murmelix_install_command_line_tool()
endif()

if(TARGET murmelix)
  murmelix_install_desktop_metadata()
  foreach(name IN LISTS murmelix_help_names)
    if(NOT EXISTS "${PROJECT_SOURCE_DIR}/docs/${name}")
      message(WARNING "docs/${name} is missing: the program's help will not find it")
    endif()
  endforeach()
  murmelix_copy_help_to_build_tree()
  murmelix_install_desktop_program()
endif()

# The Debian package. The desktop database, icon cache and MIME database are refreshed by the
# triggers of desktop-file-utils, hicolor-icon-theme and shared-mime-info, so the package needs
# no maintainer scripts of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME murmelix)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Murmelix team")
set(CPACK_PACKAGE_CONTACT "${MURMELIX_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${MURMELIX_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "random speech fragments from a speech recording")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Murmelix turns a speech recording into an endless stream of random speech\n"
       "fragments. It picks segments of a WAV file by duration or by its cue regions,\n"
       "with randomness from a pseudo generator, a logistic map, sound-card noise or a\n"
       "raw sample file, and plays them in random order. Streams can be kept in session\n"
       "files with the listener's question and answer, replayed and exported as WAV.\n"
       "\n"
       "The package holds the desktop program and the command-line tool murmelix-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MURMELIX_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The sound file, sound device and speech libraries are opened on first use, out of the
# dependency search's sight.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsndfile1, libportaudio2, libpocketsphinx3")
# The help menu opens pages and the web site through the desktop's URL handler; words and
# phonemes are found with the US English speech model (pauses need none).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-symbola, pocketsphinx-en-us")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
murmelix_install_changelog()
include(CPack)
