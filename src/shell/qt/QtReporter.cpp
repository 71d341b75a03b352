#include "shell/qt/QtReporter.h"

#include <QMessageBox>

namespace velmaris {

void QtReporter::ShowMessage(const std::string& text)
{
    QMessageBox::information(parent_, QStringLiteral("Velmaris"), QString::fromStdString(text));
}

} // namespace velmaris
