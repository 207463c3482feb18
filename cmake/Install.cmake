# What `cmake --install` puts under a prefix: the three programs in bin/, the
# whole data/ folder in share/tarvel2 (so files added there ship without
# touching this list), and on free desktops the desktop entry, the icons, the
# MIME types of charts and data files and the man page of the tool.

include(GNUInstallDirs)

set(TARVEL_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/tarvel2")

# The programs find their data from their own folder rather than from a path
# fixed at build time, so a prefix that is moved or unpacked elsewhere works.
file(RELATIVE_PATH TARVEL_DATA_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/tarvel2")
set_source_files_properties(src/platform/install_paths.cpp PROPERTIES
    COMPILE_DEFINITIONS "TARVEL_DATA_FROM_BIN=\"${TARVEL_DATA_FROM_BIN}\"")
target_compile_definitions(Setini PRIVATE "TARVEL_DATA_FROM_BIN=\"${TARVEL_DATA_FROM_BIN}\"")

install(TARGETS Tarvel2Esp tarvel Setini RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(DIRECTORY data/ DESTINATION "${TARVEL_INSTALL_DATADIR}")

# The icons are drawn by a program of our own; the build runs it, so the
# pictures always follow their drawing.
add_library(tarvel_icon_art STATIC tools/icons/icon_art.cpp)
target_link_libraries(tarvel_icon_art PUBLIC Qt6::Gui)
target_include_directories(tarvel_icon_art PUBLIC ${CMAKE_SOURCE_DIR}/tools/icons)
add_executable(make_icons tools/icons/make_icons.cpp)
target_link_libraries(make_icons PRIVATE tarvel_icon_art Qt6::Gui Qt6::Svg)

if(UNIX AND NOT APPLE)
    set(TARVEL_ICON_DIR "${CMAKE_BINARY_DIR}/icons")
    add_custom_command(
        OUTPUT "${TARVEL_ICON_DIR}/drawn"
        COMMAND ${CMAKE_COMMAND} -E rm -rf "${TARVEL_ICON_DIR}/hicolor"
        # A sanitized build's leak report on Qt's start-up must not fail the build.
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:make_icons> "${TARVEL_ICON_DIR}"
        COMMAND ${CMAKE_COMMAND} -E touch "${TARVEL_ICON_DIR}/drawn"
        DEPENDS make_icons
        COMMENT "Drawing the icons")
    add_custom_target(tarvel_icons ALL DEPENDS "${TARVEL_ICON_DIR}/drawn")
    install(DIRECTORY "${TARVEL_ICON_DIR}/hicolor" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons")

    install(FILES dist/tarvel2.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES dist/tarvel2-mime.xml DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
            RENAME tarvel2.xml)

    # Man pages ship compressed, as the distributions keep them.
    find_program(TARVEL_GZIP gzip)
    if(TARVEL_GZIP)
        set(TARVEL_MAN_PAGE "${CMAKE_BINARY_DIR}/man/tarvel.1.gz")
        add_custom_command(
            OUTPUT "${TARVEL_MAN_PAGE}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/man"
            COMMAND "${TARVEL_GZIP}" -9 -n -c "${CMAKE_SOURCE_DIR}/dist/tarvel.1" > "${TARVEL_MAN_PAGE}"
            DEPENDS "${CMAKE_SOURCE_DIR}/dist/tarvel.1"
            COMMENT "Compressing the man page")
        add_custom_target(tarvel_man ALL DEPENDS "${TARVEL_MAN_PAGE}")
    else()
        set(TARVEL_MAN_PAGE "${CMAKE_SOURCE_DIR}/dist/tarvel.1")
    endif()
    install(FILES "${TARVEL_MAN_PAGE}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()
