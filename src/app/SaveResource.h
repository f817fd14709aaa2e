#pragma once
// The dialog's file types (SaveFilter) and the forms a resource is saved in are decided without
// widgets, so that the command-line tool writes the same files.
#include "export/SaveForms.h"
