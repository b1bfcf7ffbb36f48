#pragma once

#include <QString>

namespace kavlon {

// The folder that generated files go to: subfolder below the program's directory
// when it can be made and written there, otherwise below the user's application
// data folder (a program installed read-only still saves). Made when missing.
// Empty when neither can be had.
QString generatedFolder(const QString& programDirectory, const QString& subfolder);

} // namespace kavlon
