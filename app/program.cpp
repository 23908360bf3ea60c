#include "program.h"

#include <QApplication>
#include <QStyleFactory>

#include "form2.h"
#include "look.h"

namespace spz {

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("Spinzelle"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFontSubstitutes();
}

Program::Program(TableServices services) : services_(services) {}

void Program::start() {
    start_ = new Form2([this] { openTable(); });
    start_->show();
}

void Program::openTable() {
    table_ = new Form1(services_);
    table_->setAttribute(Qt::WA_DeleteOnClose);
    // Leaving the table unloads the start-up window too, should it still be open.
    QObject::connect(table_, &Form1::unloaded, table_, [this] {
        if (start_) start_->close();
    });
    table_->show();
}

}  // namespace spz
