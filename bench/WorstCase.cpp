// The worst-case search: the slowest redraws of one figure's records at real window sizes.
// It starts from the defaults and from random records, and climbs: each step changes one
// field of the slowest record so far to a value that matters (an end of its range, a power
// of ten, every item of a selector) and keeps the change when the figure draws slower. It
// prints the ten slowest records per window size, each with its ratio to a full-window fill
// measured in the same run.
//
//   worst_case FIGURE SECONDS [SEED]   FIGURE: a kind number (0 … 8) or a caption ("円")
//   worst_case --replay FILE [--first]  times again the records of FILE, "WxH RECORD" a line
//                                       (--first: only their first drawing, nothing kept)
//
// The candidates tried follow from the seed alone; which of them are kept depends on the
// times measured, so two runs agree on what they try while the machine lets them agree on
// what is slower.
#include "CompletedRecord.h"
#include "figures/FigureCaches.h"
#include "figures/Figures.h"
#include "figures/Record.h"

#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <vector>

using namespace koyomi;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median of `runs` timings of `work`, in milliseconds.
template <class Work> double medianOf(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The values of a field worth trying: its ends, the powers of ten in its range, its default
// and one more random value; every item of a selector.
std::vector<QString> valuesWorthTrying(const figures::Field& d, std::mt19937& rng)
{
    std::vector<QString> values;
    switch (d.kind) {
    case figures::FieldKind::Spin: {
        std::set<long long> v{d.minimum, d.maximum, d.value, d.minimum + 1, d.maximum - 1};
        for (long long p = 1; p <= d.maximum; p *= 10) {
            if (p >= d.minimum) {
                v.insert(p);
            }
        }
        v.insert(d.minimum +
                 static_cast<long long>(rng() % std::uint32_t(d.maximum - d.minimum + 1)));
        for (long long x : v) {
            values.push_back(QString::number(x));
        }
        break;
    }
    case figures::FieldKind::Text:
        values = {QString(), QStringLiteral("cm"), QStringLiteral("ミリメートル")};
        break;
    case figures::FieldKind::Labels:
        values = {QString(), QStringLiteral("1,2,3,4,5,6,7,8,9,10,")};
        break;
    default:
        for (int i = 0; i < figures::itemCount(d); ++i) {
            values.push_back(QString::number(i));
        }
        break;
    }
    return values;
}

struct Found
{
    double ms;
    QString line;
};

class Search
{
public:
    Search(int kind, QSize size, std::mt19937& rng)
        : m_kind(kind), m_figure(figures::figureTable()[std::size_t(kind)]), m_size(size),
          m_rng(rng)
    {
        render::Canvas canvas(size.width(), size.height());
        m_fill = medianOf(
            9, [&] { canvas.fillRect(QRect(0, 0, size.width(), size.height()), render::kWhite); });
    }

    double fill() const { return m_fill; }
    // Times only the first drawing of each record, with nothing kept (to compare two builds).
    void timeFirstOnly() { m_firstOnly = true; }

    // The time of one record, in milliseconds (the median of three draws, one if it is slow).
    double timeOf(const QString& line) { return timeOf(m_kind, line); }
    double timeOf(int kind, const QString& line)
    {
        if (const auto seen = m_seen.find(line); seen != m_seen.end()) {
            return seen->second;
        }
        const figures::Figure& figure = figures::figureTable()[std::size_t(kind)];
        const figures::Record record = *figures::parseRecord(line);
        figures::FieldValues fields(*figure.fields, false);
        figures::applyRecordValues(fields, record.values);
        render::Canvas canvas(m_size.width(), m_size.height());
        const render::Frame frame{m_size.width(), m_size.height(), false};
        figures::FigureCaches caches; // as after the teacher's change: nothing kept for it
        auto draw = [&] { figure.draw(canvas, fields, frame, &caches); };
        const double first = medianOf(1, draw);
        const double ms = first > 200 || m_firstOnly ? first : std::min(first, medianOf(3, draw));
        m_seen[line] = ms;
        return ms;
    }

    // A record with its colour fields blanked.
    QString withoutColours(const QString& line) const
    {
        figures::FieldValues fields(*m_figure.fields, false);
        figures::applyRecordValues(fields, figures::parseRecord(line)->values);
        for (int f = 0; f < fields.count(); ++f) {
            if (fields.field(f).kind == figures::FieldKind::Color) {
                fields.setIndex(f, 0);
            }
        }
        return lineOf(fields);
    }

    QString lineOf(const figures::Fields& fields) const
    {
        return figures::recordLine(m_kind, QStringLiteral("worst"), false,
                                   figures::recordValues(fields));
    }

    // From a start, single-field changes kept while they make the drawing slower, until the
    // deadline or no change is slower.
    void climb(const QString& start, Clock::time_point deadline)
    {
        QString best = start;
        double bestMs = timeOf(best);
        bool improved = true;
        while (improved && Clock::now() < deadline) {
            improved = false;
            std::vector<int> order(m_figure.fields->fields.size());
            for (std::size_t i = 0; i < order.size(); ++i) {
                order[i] = int(i);
            }
            std::shuffle(order.begin(), order.end(), m_rng);
            for (int f : order) {
                if (Clock::now() >= deadline) {
                    return;
                }
                for (const QString& value :
                     valuesWorthTrying(m_figure.fields->fields[std::size_t(f)], m_rng)) {
                    figures::FieldValues fields(*m_figure.fields, false);
                    figures::applyRecordValues(fields, figures::parseRecord(best)->values);
                    figures::setValueText(fields, f, value);
                    const QString line = lineOf(fields);
                    const double ms = timeOf(line);
                    if (ms > bestMs * 1.05) {
                        best = line;
                        bestMs = ms;
                        improved = true;
                    }
                }
            }
        }
    }

    // A record with every field at a value worth trying, chosen at random.
    QString randomRecord()
    {
        figures::FieldValues fields(*m_figure.fields, false);
        for (int f = 0; f < fields.count(); ++f) {
            const std::vector<QString> values = valuesWorthTrying(fields.field(f), m_rng);
            figures::setValueText(fields, f, values[m_rng() % values.size()]);
        }
        return lineOf(fields);
    }

    // The slowest records, one of each set that differs only in colours (a colour costs
    // nothing more than another).
    std::vector<Found> slowest(std::size_t n) const
    {
        std::vector<Found> all;
        for (const auto& [line, ms] : m_seen) {
            all.push_back({ms, line});
        }
        std::sort(all.begin(), all.end(),
                  [](const Found& a, const Found& b) { return a.ms > b.ms; });
        std::vector<Found> kept;
        std::set<QString> shapes;
        for (const Found& f : all) {
            if (kept.size() < n && shapes.insert(withoutColours(f.line)).second) {
                kept.push_back(f);
            }
        }
        return kept;
    }

    std::size_t tried() const { return m_seen.size(); }

private:
    int m_kind;
    const figures::Figure& m_figure;
    QSize m_size;
    std::mt19937& m_rng;
    double m_fill = 0;
    bool m_firstOnly = false;
    std::map<QString, double> m_seen;
};

int kindNamed(const QString& name)
{
    bool number = false;
    const int k = name.toInt(&number);
    for (int kind = 0; kind < figures::kFigureCount; ++kind) {
        const figures::Figure& figure = figures::figureTable()[std::size_t(kind)];
        if (figure.fields && ((number && k == kind) || name == QString::fromUtf8(figure.caption))) {
            return kind;
        }
    }
    return -1;
}

} // namespace

// Times the records of a file, one "WIDTHxHEIGHT RECORD" a line (the search's finds, measured
// again after a change), each with its ratio to a fill of its size.
int replay(const char* path, bool firstOnly)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    std::mt19937 rng(1);
    std::map<std::pair<int, int>, std::unique_ptr<Search>> searches;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qsizetype space = line.indexOf(u' ');
        const QStringList size = line.left(space).split(u'x');
        // A record ending in "*" has its labels made from its numbering fields.
        line = line.left(space + 1) + bench::completedRecord(line.mid(space + 1));
        const auto record = figures::parseRecord(line.mid(space + 1));
        if (space < 0 || size.size() != 2 || !record || record->kind < 0 ||
            record->kind >= figures::kFigureCount ||
            !figures::figureTable()[std::size_t(record->kind)].fields) {
            continue;
        }
        const std::pair<int, int> wh{size[0].toInt(), size[1].toInt()};
        auto& search = searches[wh];
        if (!search) {
            search = std::make_unique<Search>(int(record->kind), QSize(wh.first, wh.second), rng);
            if (firstOnly) {
                search->timeFirstOnly();
            }
        }
        const double ms = search->timeOf(int(record->kind), line.mid(space + 1));
        std::printf("%dx%d %9.1fx %10.2f ms  %s\n", wh.first, wh.second, ms / search->fill(), ms,
                    line.mid(space + 1).left(120).toUtf8().constData());
        std::fflush(stdout);
    }
    return 0;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--replay") == 0) {
        return replay(argv[2], argc == 4 && std::strcmp(argv[3], "--first") == 0);
    }
    const int kind = argc >= 3 ? kindNamed(QString::fromLocal8Bit(argv[1])) : -1;
    const double seconds = argc >= 3 ? std::atof(argv[2]) : 0;
    if (kind < 0 || seconds <= 0) {
        std::fprintf(stderr, "usage: worst_case FIGURE SECONDS [SEED] (a figure with settings, "
                             "by number or caption)\n");
        return 2;
    }
    const unsigned seed = argc >= 4 ? unsigned(std::strtoul(argv[3], nullptr, 10)) : 1;
    std::printf("%s, %.0f s, seed %u\n", figures::figureTable()[std::size_t(kind)].caption, seconds,
                seed);
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)}) {
        std::mt19937 rng(seed);
        Search search(kind, size, rng);
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(static_cast<long long>(seconds * 500));
        search.climb(search.lineOf(figures::FieldValues(
                         *figures::figureTable()[std::size_t(kind)].fields, false)),
                     deadline);
        while (Clock::now() < deadline) {
            search.climb(search.randomRecord(), deadline);
        }
        std::printf("\n%dx%d: fill %.3f ms, %zu records tried\n", size.width(), size.height(),
                    search.fill(), search.tried());
        for (const Found& f : search.slowest(10)) {
            // A record whose numbering generates a million labels is megabytes long; its
            // fields, not its labels, are what a reader needs.
            const QByteArray line = f.line.toUtf8();
            constexpr qsizetype kShown = 2000;
            std::printf("%9.1fx %10.2f ms  %s%s\n", f.ms / search.fill(), f.ms,
                        line.left(kShown).constData(),
                        line.size() > kShown
                            ? qPrintable(QStringLiteral(" … (%1 bytes)").arg(line.size()))
                            : "");
        }
        std::fflush(stdout);
    }
    return 0;
}
