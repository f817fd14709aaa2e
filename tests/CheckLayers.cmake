# Fails when a file of a room includes a header of a room above it, or when a reading room
# (everything below views/, the command-line tool and the thumbnailer) includes a widget header.
# Each rule:
# room|what it must not include.
set(widgets "QtWidgets|QtMultimediaWidgets|<Q(Widget|Label|Dialog|MainWindow|PushButton|TreeView|ScrollBar|PlainTextEdit|MessageBox|FileDialog|ToolTip|Application)>")
set(above_reading "resources/|decoders/|export/|views/|app/|about/|cli/|thumbnailer/|${widgets}")
set(rules
    "system|text/|pe/|formats/|imaging/|media/|${above_reading}"
    "text|system/|pe/|formats/|imaging/|media/|${above_reading}"
    "pe|formats/|imaging/|media/|${above_reading}"
    "formats|imaging/|media/|${above_reading}"
    "imaging|media/|${above_reading}"
    "media|formats/|imaging/|${above_reading}"
    "resources|decoders/|export/|views/|app/|about/|cli/|thumbnailer/|${widgets}"
    "decoders|export/|views/|app/|about/|cli/|thumbnailer/|${widgets}"
    "export|views/|app/|about/|cli/|thumbnailer/|${widgets}"
    "views|app/|about/|cli/|thumbnailer/"
    "about|app/|cli/|thumbnailer/"
    "app|cli/|thumbnailer/"
    "cli|views/|app/|about/|thumbnailer/|${widgets}"
    # The thumbnailer runs where a file manager's host runs it, on Qt Core alone: no display, no
    # fonts, no Qt Gui images; its icons come as Pixels.
    "thumbnailer|decoders/|export/|media/|views/|app/|about/|cli/|imaging/(IconImage|PixelsImage|EncodedImage|Picture)|<Q(GuiApplication|Font[A-Za-z]*|Painter|Screen|Image[A-Za-z]*|Pixmap)>|${widgets}")
set(failed FALSE)
# Reports every include line of `files` that matches `forbidden`, saying why in `reason`.
function(check_includes files forbidden reason)
    foreach(f ${files})
        file(STRINGS ${f} lines REGEX "^#include")
        foreach(line ${lines})
            if(line MATCHES "${forbidden}")
                message(SEND_ERROR "${f}: ${line} ${reason}")
                set(failed TRUE PARENT_SCOPE)
            endif()
        endforeach()
    endforeach()
endfunction()

foreach(rule ${rules})
    string(FIND "${rule}" "|" bar)
    string(SUBSTRING "${rule}" 0 ${bar} layer)
    math(EXPR start "${bar} + 1")
    string(SUBSTRING "${rule}" ${start} -1 forbidden)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    if(NOT files)
        message(SEND_ERROR "room ${layer} has no sources: the rule no longer matches the tree")
        set(failed TRUE)
    endif()
    check_includes("${files}" "${forbidden}" "breaks the layer rule of ${layer}")
endforeach()
# The media libraries and the module's own headers belong to the media module alone: the program
# reaches them only through media/MediaEngine.h, so that start-up maps none of them.
set(module_dirs "media/(ffmpeg|video|sound|midi|engine)/")
set(media_libraries "<lib(av|sw)[a-z]*/|<fluidsynth|<QtMultimedia|<Q(Audio[A-Za-z]*|MediaDevices|MediaPlayer|SoundEffect)>|\"${module_dirs}")
file(GLOB_RECURSE all_files ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(program_files)
foreach(f ${all_files})
    file(RELATIVE_PATH relative ${SOURCE_DIR} ${f})
    if(NOT relative MATCHES "^${module_dirs}")
        list(APPEND program_files ${f})
    endif()
endforeach()
check_includes("${program_files}" "${media_libraries}" "belongs to the media module")
if(failed)
    message(FATAL_ERROR "layer rule broken")
endif()
