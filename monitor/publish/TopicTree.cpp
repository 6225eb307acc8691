#include "publish/TopicTree.h"

#include "exchange/RDX_INC.h"
#include "publish/BrokerMessages.h"

QString LineNameProblem(const QString& line) {
    if (line.trimmed().isEmpty()) return QString::fromUtf8(LineNameEmptyMessage);
    if (line.size() > LineNameMaxLength) return QString::fromUtf8(LineNameTooLongMessage);
    // "/" would make extra levels, "+" and "#" are wildcards, "$" starts the broker's own
    // topics; control characters have no place in a name.
    if (line.startsWith(u'$')) return QString::fromUtf8(LineNameCharsMessage);
    for (const QChar c : line)
        if (c == u'/' || c == u'+' || c == u'#' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QString::fromUtf8(LineNameCharsMessage);
    return {};
}

TopicTree::TopicTree(const QString& line)
    : prefix_(QByteArray(TopicRoot) + '/' + line.toUtf8() + '/') {}

QByteArray TopicTree::Block(int block) const { return prefix_ + "block/" + BlockSuffix(block).toLatin1(); }
