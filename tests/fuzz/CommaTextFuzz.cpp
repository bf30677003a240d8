// Splitting comma text: never fails, quoting gives every item back whole, and a record's
// head read alone is the one the whole record has.
#include "FuzzSupport.h"
#include "figures/Record.h"
#include "render/Text.h"

#include <QStringList>

using namespace koyomi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    const QStringList items = render::splitCommaText(text);
    QStringList quoted;
    for (const QString& item : items) {
        const QString q = render::quoteCommaItem(item);
        if (!item.isEmpty()) {
            fuzz::check(render::splitCommaText(q) == QStringList{item},
                        "a quoted item splits back to itself");
        }
        quoted.append(q);
    }
    // A trailing empty item is written as a trailing comma, which gives no item.
    if (!items.isEmpty() && !items.back().isEmpty()) {
        fuzz::check(render::splitCommaText(quoted.join(u',')) == items,
                    "quoted items joined by commas split back to the same items");
    }
    // A record's head read alone is the head of the whole record.
    const std::optional<figures::Record> whole = figures::parseRecord(text);
    const std::optional<figures::Record> head = figures::parseRecordHead(text);
    fuzz::check(whole.has_value() == head.has_value() &&
                    (!whole || (whole->kind == head->kind && whole->name == head->name &&
                                whole->whiteBackground == head->whiteBackground)),
                "the head alone reads as the whole record's head");
    render::messageExcerpt(text);
    return 0;
}
