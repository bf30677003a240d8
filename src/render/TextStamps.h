#pragma once

#include "render/PixelRuns.h"

#include <QHash>
#include <QString>

#include <cstddef>
#include <vector>

namespace koyomi::render {

// The pixels one text covers in one font, as runs of a row relative to the text's baseline
// origin. Text is drawn without antialiasing at whole-pixel positions, so the same text
// covers the same pixels wherever it is drawn.
struct TextStamp
{
    using Run = PixelRun; // relative to the baseline's origin
    enum class State
    {
        Seen, // drawn by the painter so far; the third drawing makes the stamp
        Usable,
        Unusable, // too large, or partly covered pixels: always drawn by the painter
    };
    std::vector<Run> runs;
    State state = State::Seen;
    int sightings = 1; // while Seen

    static constexpr int kSightingsToStamp = 3;
};

// Stamps of the texts a canvas has drawn. A grid of labels draws the same texts in every
// copy of its block; laying each out once keeps a page of labels cheap however many copies
// the window holds. Making a stamp costs several drawings by the painter, so a text is
// stamped only when drawn a third time: a page of different texts, drawn once or redrawn
// once, costs what the painter costs.
class TextStamps
{
public:
    // The entry of the text in the font (named by Canvas's font key), or nullptr when the
    // text is new: it is then noted as seen once. A text seen again counts one more sighting.
    TextStamp* seen(const QString& font, const QString& text)
    {
        // Labels come in one font after another: its stamps are looked up once.
        if (!m_font || font != m_fontName) {
            m_font = &m_byFont[font];
            m_fontName = font;
        }
        if (const auto it = m_font->find(text); it != m_font->end()) {
            if (it->state == TextStamp::State::Seen) {
                ++it->sightings;
            }
            return &*it;
        }
        // Bounded memory: past the limit the stamps start again from none.
        if (m_runs > kMaxRuns || m_texts >= kMaxTexts) {
            m_byFont.clear();
            m_font = &m_byFont[font];
            m_runs = 0;
            m_texts = 0;
        }
        m_font->insert(text, TextStamp{});
        ++m_texts;
        return nullptr;
    }

    void settle(TextStamp& stamp, TextStamp made)
    {
        m_runs += made.runs.size();
        stamp = std::move(made);
    }

private:
    static constexpr std::size_t kMaxRuns = std::size_t(1) << 20;
    static constexpr qsizetype kMaxTexts = 1 << 16;
    QHash<QString, QHash<QString, TextStamp>> m_byFont;
    QHash<QString, TextStamp>* m_font = nullptr; // the stamps of the font asked for last
    QString m_fontName;
    qsizetype m_texts = 0;
    std::size_t m_runs = 0;
};

} // namespace koyomi::render
