// The help viewer: the help file "RDX_MONITOR_JP" (an HTML document compiled into the
// program) with its topics, the document's headings, listed beside it.
#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class QListWidget;
class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* HelpFile = "RDX_MONITOR_JP";

    explicit HelpWindow(QWidget* parent = nullptr);

    // The topics: every second- and third-level heading, in document order.
    QStringList Topics() const { return topics_; }
    // Brings topic `index` to the top of the text.
    void ShowTopic(int index);
    // Text position of a topic's heading; none past the list or before it.
    std::optional<int> TopicPosition(int index) const;

    QListWidget* TopicList = nullptr;
    QTextBrowser* Browser = nullptr;

private:
    void Load();

    QStringList topics_;
    QList<int> positions_;
};
