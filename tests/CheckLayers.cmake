# Fails when a file of a room includes a header of a room above it, or when a reading room
# (everything below views/) includes a widget header. Each rule: room|what it must not include.
set(widgets "QtWidgets|QtMultimediaWidgets|<Q(Widget|Label|Dialog|MainWindow|PushButton|TreeView|ScrollBar|PlainTextEdit|MessageBox|FileDialog|ToolTip|Application)>")
set(above_reading "resources/|decoders/|views/|app/|about/|${widgets}")
set(rules
    "system|pe/|formats/|imaging/|media/|${above_reading}"
    "pe|formats/|imaging/|media/|${above_reading}"
    "formats|imaging/|media/|${above_reading}"
    "imaging|media/|${above_reading}"
    "media|formats/|imaging/|${above_reading}"
    "resources|decoders/|views/|app/|about/|${widgets}"
    "decoders|views/|app/|about/|${widgets}"
    "views|app/|about/"
    "about|app/")
set(failed FALSE)
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
    foreach(f ${files})
        file(STRINGS ${f} lines REGEX "^#include")
        foreach(line ${lines})
            if(line MATCHES "${forbidden}")
                message(SEND_ERROR "${f}: ${line} breaks the layer rule of ${layer}")
                set(failed TRUE)
            endif()
        endforeach()
    endforeach()
endforeach()
# The media libraries and the module's own headers belong to the media module alone: the program
# reaches them only through media/MediaEngine.h, so that start-up maps none of them.
set(module_dirs "media/(ffmpeg|video|sound|midi|engine)/")
set(media_libraries "<lib(av|sw)[a-z]*/|<fluidsynth|<QtMultimedia|<Q(Audio[A-Za-z]*|MediaDevices|MediaPlayer|SoundEffect)>|\"${module_dirs}")
file(GLOB_RECURSE all_files ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(f ${all_files})
    file(RELATIVE_PATH relative ${SOURCE_DIR} ${f})
    if(relative MATCHES "^${module_dirs}")
        continue()
    endif()
    file(STRINGS ${f} lines REGEX "^#include")
    foreach(line ${lines})
        if(line MATCHES "${media_libraries}")
            message(SEND_ERROR "${f}: ${line} belongs to the media module")
            set(failed TRUE)
        endif()
    endforeach()
endforeach()
if(failed)
    message(FATAL_ERROR "layer rule broken")
endif()
