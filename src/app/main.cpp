#include "ui/MainForm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KavlonPC");
    kavlon::TMainForm mainForm;
    mainForm.show();
    return QApplication::exec();
}
