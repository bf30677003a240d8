// Splitting comma text: never fails, and quoting gives every item back whole.
#include "FuzzSupport.h"
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
    render::messageExcerpt(text);
    return 0;
}
