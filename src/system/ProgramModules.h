#pragma once
// Where the program's loadable modules lie. Installed, they are in lib/<multiarch>/zorvika/ beside
// the tree's bin/; in the build tree, beside the executable. Both are found from the executable's
// real path (links resolved), so an installed tree moved elsewhere, or a program started through
// a link, still finds its own modules and never those of another tree.
#include <QString>

// The path of the module `fileName`: in the installed tree's module folder when it is there,
// else beside the executable. The folders are canonical; the file itself need not exist.
QString ProgramModulePath(const QString &fileName);
