#pragma once
// The site plan on paper and on screen, drawn with QtGui alone: the top view to scale (grid,
// scale bar, up arrow, positions, rule circles, spread circles, fallout outlines, the
// audience, violations), the side view along the front, and the legend table. The same
// top view paints the show window's live "Site" view.

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "project/site_plan.h"
#include "util/result.h"

namespace orvane {

enum class PlanFormat { kPdf, kSvg, kPng };
enum class PaperSize { kA4, kA3 };

// By the file's extension (.pdf, .svg, .png, any case); nothing for another.
std::optional<PlanFormat> PlanFormatOf(const std::filesystem::path& file);

// Where the top view puts the ground: metres to the painter's coordinates and back.
struct PlanTransform {
  double OriginX = 0, OriginY = 0;  // where x = 0, z = 0 lands
  double PerMetre = 1;              // painter units per metre; +x right, +z down
  QPointF ToView(const SitePoint& p) const { return {OriginX + p.X * PerMetre, OriginY + p.Z * PerMetre}; }
  SitePoint ToSite(const QPointF& p) const { return {(p.x() - OriginX) / PerMetre, (p.y() - OriginY) / PerMetre}; }
};

// What the live view adds to a plain top view.
struct TopViewMarks {
  std::vector<size_t> ActiveCues;      // into SitePlan::Cues: cues burning at the play head
  std::optional<size_t> HeldPosition;  // into SitePlan::Positions: being dragged
  double Unit = 1;                     // painter units per millimetre of paper, for lines and text
  // Paper: the scale is rounded to one a ruler has (1:500, 1:1000, ...).
  bool RoundScale = true;
  // Drawn with this transform instead of fitting the plan (the view holds still during a drag).
  std::optional<PlanTransform> Fixed;
};

// Fits the plan's bounds into `area` and paints the top view there; returns the transform.
PlanTransform PaintTopView(QPainter& painter, const QRectF& area, const SitePlan& plan, const TopViewMarks& marks);
// The side view: heights over x along the front.
void PaintSideView(QPainter& painter, const QRectF& area, const SitePlan& plan, double unit);
// The legend table and the violations under it.
void PaintLegend(QPainter& painter, const QRectF& area, const SitePlan& plan, double unit);

// The whole sheet: title, top view, side view, legend.
void PaintSitePlanSheet(QPainter& painter, const QRectF& page, const SitePlan& plan, const std::string& title,
                        double unit);

// The plan as a file's bytes (a landscape sheet of `paper`). Needs a QGuiApplication.
Result<std::string> SitePlanBytes(const SitePlan& plan, const std::string& title, PlanFormat format, PaperSize paper);

// Makes the QGuiApplication drawing text needs when the program has none, on the
// "offscreen" platform (no display is used). It stays for the rest of the process, since
// Qt does not take a second application well.
void EnsureDrawingApplication();

}  // namespace orvane
