#include "display/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("RDX-410 Monitor ﾍﾙﾌﾟ"));
    resize(900, 640);
    // Esc closes help, as it closes the program's dialogs.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* split = new QSplitter(this);
    TopicList = new QListWidget(split);
    Browser = new QTextBrowser(split);
    Browser->setOpenExternalLinks(false);
    split->addWidget(TopicList);
    split->addWidget(Browser);
    split->setStretchFactor(1, 3);
    split->setSizes({220, 680});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);
    Load();
    connect(TopicList, &QListWidget::currentRowChanged, this, &HelpWindow::ShowTopic);
}

void HelpWindow::Load() {
    QFile file(QStringLiteral(":/help/%1.html").arg(QLatin1String(HelpFile)));
    if (!file.open(QIODevice::ReadOnly)) {
        Browser->setPlainText(QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙ %1 が見つかりません。").arg(QLatin1String(HelpFile)));
        return;
    }
    Browser->setHtml(QString::fromUtf8(file.readAll()));
    for (QTextBlock b = Browser->document()->begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level != 2 && level != 3) continue;
        const QString title = b.text().trimmed();
        if (title.isEmpty()) continue;
        topics_ << title;
        positions_ << b.position();
        TopicList->addItem(level == 3 ? QStringLiteral("    ") + title : title);
    }
}

std::optional<int> HelpWindow::TopicPosition(int index) const {
    if (index < 0 || index >= positions_.size()) return std::nullopt;
    return positions_[index];
}

void HelpWindow::ShowTopic(int index) {
    const std::optional<int> position = TopicPosition(index);
    if (!position) return;
    QTextDocument* doc = Browser->document();
    const QTextBlock block = doc->findBlock(*position);
    QTextCursor cursor(block);
    Browser->setTextCursor(cursor);
    const QRectF r = doc->documentLayout()->blockBoundingRect(block);
    Browser->verticalScrollBar()->setValue(int(r.top()));
}
