#pragma once

#include "curvegraph.h"
#include "graintable.h"
#include "modelrecords.h"
#include "parentsdata.h"
#include "searchsettings.h"

#include <cstddef>
#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

// The one home of the model: constants, geometry, the current thermal curve
// with a stack of earlier ones, the annotation and the geometry coefficients.
// It checks nothing; whoever changes a field refreshes what shows it.
class TDataModule1 {
public:
    // Earlier curves kept for RestorePreviousCurve. Only the top is ever read,
    // and stepped curves can be large, so the oldest are dropped past this.
    static constexpr std::size_t kCurveHistoryLimit = 100;

    TModelData ModelData;
    TGrainData GrainData;
    TParentsData ParentsData;            // none unless a concentration is above 0
    std::vector<std::string> Annotation; // 8-bit lines, kept as bytes
    // A sample's measured grains, each predicted as a whole grain of its own
    // radius and parents under this data set's history; empty for most data sets.
    std::vector<tarvel::GrainRecord> Grains;
    // The constraint boxes and settings of a search for the histories the
    // grains allow; empty for most data sets.
    tarvel::SearchSettings Search;

    // Not owned; set by the windows before CaptureCurve / DrawCurve.
    CurveGraph *SourceGraph = nullptr;
    CurveGraph *DisplayGraph = nullptr;

    // Borrowed; invalid after CaptureCurve, RestorePreviousCurve or ReadDataFile.
    const ThermalCurve &GetCurrentCurve() const { return CurrentCurve; }
    ThermalCurve &GetCurrentCurve() { return CurrentCurve; }
    void RestorePreviousCurve();
    std::size_t CurveHistoryDepth() const { return CurveHistory.size(); }

    // Coefficient store, indexed by eigenvalue number; unwritten slots read 0.
    void SetCoefficient(std::int32_t index, float value);
    float GetCoefficient(std::int32_t index) const;
    std::int32_t CoefficientCount() const { return static_cast<std::int32_t>(Coefficients.size()); }

    // The data file (see datafile.cpp). The writer throws tarvel::Error when the
    // stream does not take every byte.
    void WriteDataFile(std::ostream &out) const;
    // Reads the stream to its end into a scratch copy and replaces ModelData,
    // GrainData, ParentsData, Grains and Search (always: a file that names no parents or
    // holds no grain table is a data set without them), the current curve (when the file holds a
    // complete table) and the annotation only once the whole file has read. Throws tarvel::Error
    // (no
    // "[DataBegin" line, a value that is not a number, a file cut off inside a
    // section) and then changes nothing. Never touches the curve history or the coefficients.
    // `curveLines`, when given, receives the file line of each point of a curve
    // read from the file (point i + 1 at index i); empty when the file held no
    // curve table.
    void ReadDataFile(std::istream &in, std::vector<std::int32_t> *curveLines = nullptr);

    // Curve transfer (see curvetransfer.cpp).
    void CaptureCurve();
    void DrawCurve();

private:
    ThermalCurve CurrentCurve;
    std::deque<ThermalCurve> CurveHistory; // newest at the back
    std::vector<float> Coefficients;
};
