#include "export/site_plan_drawing.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

namespace orvane {
namespace {

const QColor kRuleColour(224, 90, 0);
const QColor kViolationColour(208, 2, 27);
const QColor kSpreadColour(42, 125, 42);
const QColor kFalloutColour(255, 153, 0);
const QColor kAudienceColour(31, 95, 191);
const QColor kGridColour(215, 215, 215);
const QColor kActiveColour(255, 214, 0);
const QColor kHeldColour(31, 95, 191);

struct PaperMm {
  double Width, Height;
};
PaperMm PaperOf(PaperSize paper) { return paper == PaperSize::kA3 ? PaperMm{420, 297} : PaperMm{297, 210}; }

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Metres(double value, int decimals = 1) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return QString::fromLatin1(text);
}

QFont FontOf(double heightMm, double unit, bool bold = false) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(heightMm * unit))));
  font.setBold(bold);
  return font;
}

QPen PenOf(const QColor& colour, double widthMm, double unit, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen(colour, std::max(widthMm * unit, 0.5), style);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

// 1, 2, 5 (and 2.5) times a power of ten, at least `value`.
double NiceAtLeast(double value, bool withQuarter = false) {
  if (!(value > 0) || !std::isfinite(value)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  // Plans use the ruler's scales between the round ones (1:1250, 1:2500, ...).
  for (const double step : {1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 7.5, 10.0}) {
    if (!withQuarter && step != 1.0 && step != 2.0 && step != 5.0 && step != 10.0) continue;
    if (value <= step * power * (1 + 1e-9)) return step * power;
  }
  return 10 * power;
}

// The largest 1, 2, 5 step at most `value`.
double NiceAtMost(double value) {
  if (!(value > 0) || !std::isfinite(value)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (const double step : {5.0, 2.0, 1.0})
    if (step * power <= value * (1 + 1e-9)) return step * power;
  return power;
}

std::set<size_t> ViolatingPositions(const SitePlan& plan) {
  std::set<size_t> positions;
  for (const PlanViolation& v : plan.Violations) positions.insert(v.Position);
  return positions;
}

void DrawCircle(QPainter& painter, const PlanTransform& t, const SitePoint& centre, double radiusM) {
  const double r = radiusM * t.PerMetre;
  painter.drawEllipse(t.ToView(centre), r, r);
}

QPolygonF ViewPolygon(const PlanTransform& t, const std::vector<SitePoint>& points) {
  QPolygonF polygon;
  for (const SitePoint& p : points) polygon << t.ToView(p);
  return polygon;
}

void DrawGrid(QPainter& painter, const QRectF& area, const PlanTransform& t, double unit) {
  const SitePoint topLeft = t.ToSite(area.topLeft());
  const SitePoint bottomRight = t.ToSite(area.bottomRight());
  const double step = NiceAtLeast((bottomRight.X - topLeft.X) / 10);
  painter.setPen(PenOf(kGridColour, 0.1, unit));
  painter.setFont(FontOf(1.8, unit));
  const QFontMetricsF metrics(painter.font());
  for (double x = std::ceil(topLeft.X / step) * step; x <= bottomRight.X; x += step) {
    const double vx = t.ToView({x, 0}).x();
    painter.setPen(PenOf(kGridColour, 0.1, unit));
    painter.drawLine(QPointF(vx, area.top()), QPointF(vx, area.bottom()));
    painter.setPen(Qt::gray);
    painter.drawText(QPointF(vx + 0.5 * unit, area.top() + metrics.ascent() + 0.5 * unit), Metres(x, 0));
  }
  for (double z = std::ceil(topLeft.Z / step) * step; z <= bottomRight.Z; z += step) {
    const double vy = t.ToView({0, z}).y();
    painter.setPen(PenOf(kGridColour, 0.1, unit));
    painter.drawLine(QPointF(area.left(), vy), QPointF(area.right(), vy));
    painter.setPen(Qt::gray);
    painter.drawText(QPointF(area.left() + 0.5 * unit, vy - 0.5 * unit), Metres(z, 0));
  }
}

void DrawAudience(QPainter& painter, const PlanTransform& t, const SitePlan& plan, double unit) {
  painter.setFont(FontOf(2.4, unit, true));
  for (const SiteAudience& a : plan.Site.Audience) {
    if (a.Points.empty()) continue;
    const QPolygonF polygon = ViewPolygon(t, a.Points);
    if (a.Kind == AudienceKind::kArea) {
      painter.setPen(PenOf(kAudienceColour, 0.4, unit));
      painter.setBrush(QBrush(QColor(31, 95, 191, 50)));
      painter.drawPolygon(polygon);
      painter.setBrush(QBrush(kAudienceColour, Qt::BDiagPattern));
      painter.drawPolygon(polygon);
    } else {
      painter.setPen(PenOf(kAudienceColour, 0.9, unit));
      painter.setBrush(Qt::NoBrush);
      painter.drawPolyline(polygon);
    }
    painter.setPen(kAudienceColour);
    painter.drawText(polygon.front() + QPointF(1 * unit, 3.5 * unit), Text("Audience: " + a.Name));
  }
  painter.setBrush(Qt::NoBrush);
}

void DrawMeasures(QPainter& painter, const PlanTransform& t, const SitePlan& plan, double unit) {
  painter.setPen(PenOf(kFalloutColour.darker(120), 0.2, unit));
  painter.setBrush(QColor(kFalloutColour.red(), kFalloutColour.green(), kFalloutColour.blue(), 90));
  for (const PlanPosition& p : plan.Positions)
    if (p.Fallout.size() >= 3) painter.drawPolygon(ViewPolygon(t, p.Fallout));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(PenOf(kSpreadColour, 0.25, unit, Qt::DashLine));
  // Many cues share a spread: one circle per position and half metre.
  std::set<std::tuple<size_t, long>> drawn;
  for (const PlanCue& c : plan.Cues) {
    if (!c.Seen || c.Spread <= 0) continue;
    if (!drawn.insert({c.Position, std::lround(c.Spread * 2)}).second) continue;
    DrawCircle(painter, t, plan.Positions[c.Position].At, c.Spread);
  }
}

void DrawRuleCircles(QPainter& painter, const PlanTransform& t, const SitePlan& plan, double unit) {
  const std::set<size_t> violating = ViolatingPositions(plan);
  for (size_t i = 0; i < plan.Positions.size(); ++i) {
    const PlanPosition& p = plan.Positions[i];
    if (!p.RuleDistance) continue;
    const bool bad = violating.count(i) != 0;
    painter.setPen(PenOf(bad ? kViolationColour : kRuleColour, bad ? 0.6 : 0.4, unit));
    DrawCircle(painter, t, p.At, *p.RuleDistance);
  }
}

// Shortfalls of neighbouring positions would print over each other: each slides along its
// own line to the first place that is free.
QPointF FreeLabelPlace(const QPointF& from, const QPointF& to, const QPointF& shift, const QRectF& size,
                       std::vector<QRectF>& taken) {
  QPointF place;
  for (const double along : {0.5, 0.3, 0.7, 0.15, 0.85, 0.05, 0.95}) {
    place = from + (to - from) * along + shift;
    const QRectF box = size.translated(place);
    if (std::none_of(taken.begin(), taken.end(), [&box](const QRectF& other) { return other.intersects(box); })) break;
  }
  taken.push_back(size.translated(place));
  return place;
}

void DrawViolations(QPainter& painter, const PlanTransform& t, const SitePlan& plan, double unit) {
  painter.setFont(FontOf(2.4, unit, true));
  std::vector<QRectF> taken;
  for (const PlanViolation& v : plan.Violations) {
    const PlanPosition& p = plan.Positions[v.Position];
    for (const SiteAudience& a : plan.Site.Audience) {
      if (a.Name != v.Audience || a.Points.empty()) continue;
      SitePoint nearest;
      DistanceToAudience(p.At, a, &nearest);
      painter.setPen(PenOf(kViolationColour, 0.5, unit, Qt::DashLine));
      painter.drawLine(t.ToView(p.At), t.ToView(nearest));
      painter.setPen(kViolationColour);
      const double offset = v.Kind == ViolationKind::kRule ? -1.0 : 3.0;
      const QString text =
          Metres(v.Shortfall) + (v.Kind == ViolationKind::kRule ? " m short (rule)" : " m short (fallout)");
      const QRectF size = QFontMetricsF(painter.font()).boundingRect(text);
      painter.drawText(FreeLabelPlace(t.ToView(p.At), t.ToView(nearest), QPointF(1 * unit, offset * unit), size, taken),
                       text);
      break;
    }
  }
}

// Names of close positions would print over each other: one that would is left out (the
// legend still lists it).
void DrawLabelIfFree(QPainter& painter, const QPointF& baseline, const QString& text, std::vector<QRectF>& taken) {
  const QRectF box = QFontMetricsF(painter.font()).boundingRect(text).translated(baseline);
  for (const QRectF& other : taken)
    if (other.intersects(box)) return;
  taken.push_back(box);
  painter.drawText(baseline, text);
}

void DrawPositions(QPainter& painter, const PlanTransform& t, const SitePlan& plan, const TopViewMarks& marks) {
  const double unit = marks.Unit;
  painter.setFont(FontOf(2.8, unit, true));
  const std::set<size_t> violating = ViolatingPositions(plan);
  std::vector<QRectF> labels;
  for (size_t i = 0; i < plan.Positions.size(); ++i) {
    const PlanPosition& p = plan.Positions[i];
    const QPointF at = t.ToView(p.At);
    const double half = (p.OfSite ? 1.2 : 0.8) * unit;
    const QColor colour = marks.HeldPosition == i ? kHeldColour : violating.count(i) ? kViolationColour : Qt::black;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(colour);
    DrawLabelIfFree(painter, at + QPointF(1.8 * unit, -1.8 * unit), Text(p.Name), labels);
  }
}

void DrawActiveCues(QPainter& painter, const PlanTransform& t, const SitePlan& plan, const TopViewMarks& marks) {
  const double unit = marks.Unit;
  painter.setPen(PenOf(kActiveColour.darker(130), 0.3, unit));
  painter.setBrush(QColor(kActiveColour.red(), kActiveColour.green(), kActiveColour.blue(), 70));
  for (const size_t ci : marks.ActiveCues) {
    if (ci >= plan.Cues.size()) continue;
    const PlanCue& c = plan.Cues[ci];
    DrawCircle(painter, t, c.Start, std::max(c.Spread, 1.0 / t.PerMetre * unit));
  }
  painter.setBrush(Qt::NoBrush);
}

void DrawScaleBar(QPainter& painter, const QRectF& area, const PlanTransform& t, double unit, bool roundScale) {
  const double length = NiceAtMost(area.width() / 5 / t.PerMetre);
  const double w = length * t.PerMetre;
  const QPointF origin(area.left() + 4 * unit, area.bottom() - 5 * unit);
  const double h = 1.2 * unit;
  painter.setPen(PenOf(Qt::black, 0.2, unit));
  for (int i = 0; i < 4; ++i) {
    painter.setBrush(i % 2 ? Qt::white : Qt::black);
    painter.drawRect(QRectF(origin.x() + i * w / 4, origin.y() - h, w / 4, h));
  }
  painter.setBrush(Qt::NoBrush);
  painter.setFont(FontOf(2.2, unit));
  painter.drawText(origin + QPointF(0, 3 * unit), QStringLiteral("0"));
  painter.drawText(origin + QPointF(w - 2 * unit, 3 * unit), Metres(length, 0) + " m");
  if (roundScale) {
    const double denominator = std::round(1000 * unit / t.PerMetre);
    painter.drawText(origin + QPointF(w + 6 * unit, 0), "1:" + Metres(denominator, 0));
  }
}

void DrawUpArrow(QPainter& painter, const QRectF& area, double unit) {
  const QPointF tip(area.right() - 14 * unit, area.top() + 5 * unit);
  const QPointF tail = tip + QPointF(0, 10 * unit);
  painter.setPen(PenOf(Qt::black, 0.4, unit));
  painter.drawLine(tip, tail);
  painter.setBrush(Qt::black);
  painter.drawPolygon(QPolygonF({tip, tip + QPointF(-1.5 * unit, 3 * unit), tip + QPointF(1.5 * unit, 3 * unit)}));
  painter.setBrush(Qt::NoBrush);
  painter.setFont(FontOf(2.2, unit, true));
  const QRectF label(tail.x() - 13 * unit, tail.y() + 0.5 * unit, 26 * unit, 6 * unit);
  painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Up\n(away from audience)"));
}

PlanTransform FitPlan(const QRectF& area, const SitePlan& plan, const TopViewMarks& marks) {
  const PlanBounds b = SitePlanBounds(plan);
  const double width = std::max(b.MaxX - b.MinX, 1.0) * 1.12;
  const double height = std::max(b.MaxZ - b.MinZ, 1.0) * 1.12;
  double perMetre = std::min(area.width() / width, area.height() / height);
  if (marks.RoundScale && marks.Unit > 0) {
    const double denominator = NiceAtLeast(1000 * marks.Unit / perMetre, true);
    perMetre = 1000 * marks.Unit / denominator;
  }
  PlanTransform t;
  t.PerMetre = perMetre;
  t.OriginX = area.center().x() - (b.MinX + b.MaxX) / 2 * perMetre;
  t.OriginY = area.center().y() - (b.MinZ + b.MaxZ) / 2 * perMetre;
  return t;
}

void DrawFrame(QPainter& painter, const QRectF& area, double unit, const QString& caption) {
  painter.setPen(PenOf(Qt::black, 0.3, unit));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
  painter.setFont(FontOf(2.6, unit, true));
  painter.drawText(area.topLeft() + QPointF(1.5 * unit, -1.2 * unit), caption);
}

// One key line: a sample of the symbol and what it means.
void KeyLine(QPainter& painter, QPointF& at, double unit, const QPen& pen, const QBrush& brush, bool circle,
             const QString& text) {
  painter.setPen(pen);
  painter.setBrush(brush);
  const QRectF sample(at.x(), at.y() - 2.4 * unit, 6 * unit, 2.8 * unit);
  if (circle) painter.drawEllipse(sample);
  else painter.drawRect(sample);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(Qt::black);
  painter.drawText(at + QPointF(8 * unit, 0), text);
  at.ry() += 4 * unit;
}

}  // namespace

std::optional<PlanFormat> PlanFormatOf(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".pdf") return PlanFormat::kPdf;
  if (extension == ".svg") return PlanFormat::kSvg;
  if (extension == ".png") return PlanFormat::kPng;
  return std::nullopt;
}

PlanTransform PaintTopView(QPainter& painter, const QRectF& area, const SitePlan& plan, const TopViewMarks& marks) {
  const PlanTransform t = marks.Fixed ? *marks.Fixed : FitPlan(area, plan, marks);
  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  DrawGrid(painter, area, t, marks.Unit);
  DrawAudience(painter, t, plan, marks.Unit);
  DrawMeasures(painter, t, plan, marks.Unit);
  DrawActiveCues(painter, t, plan, marks);
  DrawRuleCircles(painter, t, plan, marks.Unit);
  DrawViolations(painter, t, plan, marks.Unit);
  DrawPositions(painter, t, plan, marks);
  DrawScaleBar(painter, area, t, marks.Unit, marks.RoundScale);
  DrawUpArrow(painter, area, marks.Unit);
  painter.restore();
  return t;
}

void PaintSideView(QPainter& painter, const QRectF& area, const SitePlan& plan, double unit) {
  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  double minX = INFINITY, maxX = -INFINITY, top = 0;
  for (const PlanCue& c : plan.Cues) {
    if (!c.Seen) continue;
    minX = std::min(minX, c.Start.X - c.Spread);
    maxX = std::max(maxX, c.Start.X + c.Spread);
    top = std::max({top, c.TopHeight, c.BreakHeight + c.Spread});
  }
  if (!(minX < maxX)) {
    painter.setFont(FontOf(2.6, unit));
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("No measured cues"));
    painter.restore();
    return;
  }
  top = std::max(top, kFalloutHeightMetres * 2);
  const double labels = 8 * unit;  // room for the height labels and the names
  const QRectF inner = area.adjusted(labels, 2 * unit, -2 * unit, -labels);
  const double perMetre = std::min(inner.width() / ((maxX - minX) * 1.04), inner.height() / (top * 1.04));
  const double groundY = inner.bottom();
  const double centreX = inner.center().x() - (minX + maxX) / 2 * perMetre;
  const auto at = [&](double x, double h) { return QPointF(centreX + x * perMetre, groundY - h * perMetre); };
  // Heights.
  painter.setFont(FontOf(1.8, unit));
  const double step = NiceAtLeast(top / 6);
  for (double h = 0; h <= top * 1.04; h += step) {
    painter.setPen(PenOf(kGridColour, 0.1, unit));
    painter.drawLine(QPointF(inner.left(), at(0, h).y()), QPointF(inner.right(), at(0, h).y()));
    painter.setPen(Qt::gray);
    painter.drawText(QRectF(area.left(), at(0, h).y() - 1.5 * unit, labels - unit, 3 * unit),
                     Qt::AlignRight | Qt::AlignVCenter, Metres(h, 0));
  }
  painter.setPen(PenOf(kFalloutColour.darker(120), 0.3, unit, Qt::DashLine));
  painter.drawLine(QPointF(inner.left(), at(0, kFalloutHeightMetres).y()),
                   QPointF(inner.right(), at(0, kFalloutHeightMetres).y()));
  // The cues: the rise to the break, the spread around it (above ground); alike ones once.
  painter.setClipRect(QRectF(area.left(), area.top(), area.width(), groundY - area.top()));
  std::set<std::tuple<long, long, long>> drawn;
  for (const PlanCue& c : plan.Cues) {
    if (!c.Seen ||
        !drawn.insert({std::lround(c.Start.X * 2), std::lround(c.BreakHeight * 2), std::lround(c.Spread * 2)}).second)
      continue;
    painter.setPen(PenOf(Qt::darkGray, 0.15, unit));
    painter.drawLine(at(c.Start.X, c.StartHeight), at(c.Start.X, c.Broke ? c.BreakHeight : c.TopHeight));
    if (c.Broke) {
      painter.setPen(PenOf(kSpreadColour, 0.2, unit));
      painter.drawEllipse(at(c.Start.X, c.BreakHeight), c.Spread * perMetre, c.Spread * perMetre);
    }
  }
  painter.setClipRect(area);
  painter.setPen(PenOf(Qt::black, 0.4, unit));
  painter.drawLine(QPointF(inner.left(), groundY), QPointF(inner.right(), groundY));
  painter.setFont(FontOf(2.4, unit, true));
  const QFontMetricsF metrics(painter.font());
  std::vector<QRectF> names;
  for (const PlanPosition& p : plan.Positions) {
    if (p.Cues.empty()) continue;
    const QString name = Text(p.Name);
    const QPointF foot = at(p.At.X, 0) + QPointF(-metrics.horizontalAdvance(name) / 2, 0.5 * unit + metrics.ascent());
    DrawLabelIfFree(painter, foot, name, names);
  }
  painter.restore();
}

void PaintLegend(QPainter& painter, const QRectF& area, const SitePlan& plan, double unit) {
  painter.save();
  painter.setClipRect(area);
  const std::vector<std::string> header = LegendHeader();
  const std::vector<std::vector<std::string>> rows = LegendRows(plan);
  // Columns as wide as their widest text, the font shrunk until they fit.
  double fontMm = 2.2;
  std::vector<double> widths(header.size());
  for (; fontMm > 1.0; fontMm -= 0.1) {
    const QFontMetricsF metrics(FontOf(fontMm, unit));
    double total = 0;
    for (size_t col = 0; col < header.size(); ++col) {
      widths[col] = metrics.horizontalAdvance(Text(header[col]));
      for (const auto& row : rows) widths[col] = std::max(widths[col], metrics.horizontalAdvance(Text(row[col])));
      widths[col] += 1.6 * unit;
      total += widths[col];
    }
    if (total <= area.width()) break;
  }
  const double rowHeight = fontMm * 1.6 * unit;
  QPointF at = area.topLeft();
  const auto drawRow = [&](const std::vector<std::string>& cells, bool bold, const QColor& marginColour) {
    painter.setFont(FontOf(fontMm, unit, bold));
    double x = at.x();
    for (size_t col = 0; col < cells.size(); ++col) {
      painter.setPen(col + 1 == cells.size() ? marginColour : QColor(Qt::black));
      painter.drawText(QRectF(x, at.y(), widths[col], rowHeight), Qt::AlignLeft | Qt::AlignVCenter, Text(cells[col]));
      x += widths[col];
    }
    at.ry() += rowHeight;
    painter.setPen(PenOf(kGridColour, 0.1, unit));
    painter.drawLine(QPointF(area.left(), at.y()), QPointF(x, at.y()));
  };
  drawRow(header, true, Qt::black);
  const double keyHeight = 24 * unit;
  const size_t violationLines = std::min<size_t>(plan.Violations.size(), 8) + 2;
  const double reserved = keyHeight + violationLines * rowHeight;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (at.y() + 2 * rowHeight > area.bottom() - reserved && i + 1 < rows.size()) {
      drawRow({"... and " + std::to_string(rows.size() - i) + " more positions (see the CSV table)"}, false, Qt::black);
      break;
    }
    const bool belowZero = plan.Positions[i].Margin && *plan.Positions[i].Margin < 0;
    drawRow(rows[i], false, belowZero ? kViolationColour : QColor(Qt::black));
  }
  // The check.
  at.ry() += rowHeight * 0.5;
  painter.setFont(FontOf(fontMm + 0.2, unit, true));
  if (plan.Violations.empty()) {
    painter.setPen(kSpreadColour);
    painter.drawText(QRectF(at.x(), at.y(), area.width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("No violations: every circle and fallout clears the audience."));
    at.ry() += rowHeight;
  } else {
    painter.setPen(kViolationColour);
    painter.drawText(QRectF(at.x(), at.y(), area.width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::number(plan.Violations.size()) + " violation(s):");
    at.ry() += rowHeight;
    painter.setFont(FontOf(fontMm, unit));
    for (size_t i = 0; i < plan.Violations.size() && i < 8; ++i) {
      const QString text = Text(ViolationText(plan, plan.Violations[i]));
      const QRectF box(at.x(), at.y(), area.width(), rowHeight * 2);
      painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
      at.ry() += painter.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text).height();
    }
  }
  // The key.
  at = QPointF(area.left(), area.bottom() - keyHeight + 3 * unit);
  painter.setFont(FontOf(2.0, unit));
  KeyLine(painter, at, unit, PenOf(kRuleColour, 0.4, unit), Qt::NoBrush, true,
          Text("Rule circle: " + plan.Rule.Title + ", largest calibre at the position"));
  KeyLine(painter, at, unit, PenOf(kSpreadColour, 0.25, unit, Qt::DashLine), Qt::NoBrush, true,
          QStringLiteral("Measured spread of the cues (side view: at break height)"));
  KeyLine(painter, at, unit, PenOf(kFalloutColour.darker(120), 0.2, unit), QColor(255, 153, 0, 90), false,
          QStringLiteral("Measured fallout: where particles came below 10 m above ground"));
  KeyLine(painter, at, unit, PenOf(kAudienceColour, 0.9, unit), Qt::NoBrush, false,
          QStringLiteral("Audience line or area"));
  KeyLine(painter, at, unit, Qt::NoPen, Qt::black, false, QStringLiteral("Firing position (red: a violation)"));
  painter.restore();
}

void PaintSitePlanSheet(QPainter& painter, const QRectF& page, const SitePlan& plan, const std::string& title,
                        double unit) {
  painter.fillRect(page, Qt::white);
  const QRectF body = page.adjusted(8 * unit, 16 * unit, -8 * unit, -10 * unit);
  painter.setPen(Qt::black);
  painter.setFont(FontOf(4.5, unit, true));
  painter.drawText(QPointF(page.left() + 8 * unit, page.top() + 10 * unit), Text(title + ": site plan"));
  painter.setFont(FontOf(2.4, unit));
  painter.drawText(QRectF(page.left(), page.top() + 5 * unit, page.width() - 8 * unit, 6 * unit), Qt::AlignRight,
                   Text("Metres. Rule: " + plan.Rule.Title + ". Measured from the show's compile."));
  const double split = body.width() * 0.6;
  const QRectF top(body.left(), body.top(), split - 4 * unit, body.height() * 0.66);
  const QRectF side(body.left(), top.bottom() + 7 * unit, top.width(), body.bottom() - top.bottom() - 7 * unit);
  const QRectF legend(body.left() + split + 2 * unit, body.top(), body.width() - split - 2 * unit, body.height());
  TopViewMarks marks;
  marks.Unit = unit;
  PaintTopView(painter, top, plan, marks);
  DrawFrame(painter, top, unit, QStringLiteral("Top view"));
  PaintSideView(painter, side, plan, unit);
  DrawFrame(painter, side, unit,
            QStringLiteral("Side view along the front, seen from the audience (heights above ground)"));
  PaintLegend(painter, legend.adjusted(0, 1 * unit, 0, 0), plan, unit);
  painter.setFont(FontOf(1.8, unit));
  painter.setPen(Qt::darkGray);
  painter.drawText(QRectF(page.left() + 8 * unit, page.bottom() - 8 * unit, page.width() - 16 * unit, 6 * unit),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, Text("Rule source: " + plan.Rule.Source));
}

Result<std::string> SitePlanBytes(const SitePlan& plan, const std::string& title, PlanFormat format, PaperSize paper) {
  const PaperMm mm = PaperOf(paper);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  switch (format) {
    case PlanFormat::kPdf: {
      constexpr int kDpi = 600;
      QPdfWriter writer(&buffer);
      writer.setResolution(kDpi);
      writer.setPageSize(QPageSize(paper == PaperSize::kA3 ? QPageSize::A3 : QPageSize::A4));
      writer.setPageOrientation(QPageLayout::Landscape);
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      writer.setTitle(Text(title + ": site plan"));
      writer.setCreator(QStringLiteral("Orvane"));
      const double unit = kDpi / 25.4;
      QPainter painter;
      if (!painter.begin(&writer)) return Fail("the PDF could not be started.");
      PaintSitePlanSheet(painter, QRectF(0, 0, mm.Width * unit, mm.Height * unit), plan, title, unit);
      painter.end();
      break;
    }
    case PlanFormat::kSvg: {
      constexpr double kUnit = 4;  // SVG user units per millimetre
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(QSize(static_cast<int>(mm.Width * kUnit), static_cast<int>(mm.Height * kUnit)));
      svg.setViewBox(QRectF(0, 0, mm.Width * kUnit, mm.Height * kUnit));
      svg.setResolution(static_cast<int>(std::lround(kUnit * 25.4)));
      svg.setTitle(Text(title + ": site plan"));
      QPainter painter;
      if (!painter.begin(&svg)) return Fail("the SVG could not be started.");
      PaintSitePlanSheet(painter, QRectF(0, 0, mm.Width * kUnit, mm.Height * kUnit), plan, title, kUnit);
      painter.end();
      break;
    }
    case PlanFormat::kPng: {
      constexpr double kUnit = 6;  // pixels per millimetre, about 150 dpi
      QImage image(static_cast<int>(mm.Width * kUnit), static_cast<int>(mm.Height * kUnit), QImage::Format_RGB32);
      if (image.isNull()) return Fail("there is not enough memory for the picture.");
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        PaintSitePlanSheet(painter, QRectF(image.rect()), plan, title, kUnit);
      }
      if (!image.save(&buffer, "PNG")) return Fail("the PNG could not be made.");
      break;
    }
  }
  const QByteArray& bytes = buffer.data();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void EnsureDrawingApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  static int argc = 3;
  static char name[] = "orvane", option[] = "-platform", platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  // Without a session the platform complains of a missing runtime folder it does not need.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.startsWith(QLatin1String("QStandardPaths:"))) std::fprintf(stderr, "%s\n", qPrintable(message));
      });
  static QGuiApplication* application = new QGuiApplication(argc, argv);  // kept: see the header
  (void)application;
  qInstallMessageHandler(previous);
}

}  // namespace orvane
