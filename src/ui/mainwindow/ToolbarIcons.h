#pragma once

#include <QIcon>

namespace kavlon::icons {

// Small line drawings for the toolbar, made by the program so it needs no image files.
QIcon cascade();
QIcon tileHorizontal();
QIcon tileVertical();
QIcon connect();
QIcon disconnect();
QIcon printOptions();
QIcon dataTable();
QIcon scopeTrace();
QIcon measure();
QIcon spectrum();
QIcon demo();

} // namespace kavlon::icons
