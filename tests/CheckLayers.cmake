# Fails when a file of a parsing layer includes a header of a higher layer or of Qt Widgets.
set(rules
    "platform|resources/|decoders/|views/|app/|about/|QtWidgets|QtMultimediaWidgets|<Q(Widget|Label|Dialog|MainWindow|PushButton|TreeView|ScrollBar|PlainTextEdit|MessageBox|FileDialog)>"
    "resources|decoders/|views/|app/|about/|QtWidgets|QtMultimediaWidgets|<Q(Widget|Label|Dialog|MainWindow|PushButton|TreeView|ScrollBar|PlainTextEdit|MessageBox|FileDialog)>"
    "decoders|views/|app/|about/|QtWidgets|QtMultimediaWidgets|<Q(Widget|Label|Dialog|MainWindow|PushButton|TreeView|ScrollBar|PlainTextEdit|MessageBox|FileDialog)>"
    "views|app/|about/")
set(failed FALSE)
foreach(rule ${rules})
    string(FIND "${rule}" "|" bar)
    string(SUBSTRING "${rule}" 0 ${bar} layer)
    math(EXPR start "${bar} + 1")
    string(SUBSTRING "${rule}" ${start} -1 forbidden)
    file(GLOB_RECURSE files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
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
if(failed)
    message(FATAL_ERROR "layer rule broken")
endif()
