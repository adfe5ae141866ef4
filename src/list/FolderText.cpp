#include "list/FolderText.h"

// Constant-initialized, so that reading it needs no guard.
constinit const QString FolderText::s_empty;
