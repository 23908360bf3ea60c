#include "program.h"

#include <QApplication>
#include <QFontInfo>
#include <QStyleFactory>

#include "form2.h"
#include "icon_pixels.h"
#include "look.h"
#include "screenfit.h"

namespace spz {

namespace {

// A minimal system may resolve the desktop's "Sans Serif" to a monospace face; the
// size stays the desktop's, only the face changes.
void keepDefaultFontProportional() {
    QFont font = QApplication::font();
    if (!QFontInfo(font).fixedPitch()) return;
    font.setFamilies({QString::fromLatin1(kProportionalFace)});
    QApplication::setFont(font);
}

}  // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("Spinzelle"));
    QApplication::setApplicationVersion(QStringLiteral(SPINZELLE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(SPINZELLE_APP_ID));
    QApplication::setWindowIcon(gameIcon());
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    keepDefaultFontProportional();
}

QIcon gameIcon() {
    QIcon icon;
    for (const IconPicture& picture : kIconPictures)
        icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(picture.argb), picture.size,
                                                 picture.size, QImage::Format_ARGB32)));
    return icon;
}

Program::Program(TableServices services) : services_(services) {}

void Program::start() {
    start_ = new Form2([this] { openTable(); });
    start_->setPalette(tablePalette());  // the table's light scheme from the first window on
    keepOnScreen(start_.data());
    start_->show();
}

void Program::openTable() {
    table_ = new Form1(services_);
    table_->setAttribute(Qt::WA_DeleteOnClose);
    keepOnScreen(table_.data());
    // Leaving the table unloads the start-up window too, should it still be open.
    QObject::connect(table_, &Form1::unloaded, table_, [this] {
        if (start_) start_->close();
    });
    table_->show();
}

}  // namespace spz
