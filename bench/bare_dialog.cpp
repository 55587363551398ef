// The baseline of the start-up benchmark: a bare Qt dialog of 30 buttons, what any Qt program
// pays to show a window, without anything of Dorvane's.
#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QPushButton>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare"));
    auto* grid = new QGridLayout(&dialog);
    for (int i = 0; i < 30; ++i) grid->addWidget(new QPushButton(QString::number(i)), i / 6, i % 6);
    dialog.show();
    return app.exec();
}
