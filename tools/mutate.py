#!/usr/bin/env python3
"""Applies single-point faults one at a time to a scratch copy of the tree,
rebuilds the tests incrementally, runs ctest, and reports which faults the
suite catches (killed) and which it lets through (survived).

  tools/mutate.py                 every fault, scratch copy in /tmp/trelvano-mutate
  tools/mutate.py --only Form1    only faults whose file or note holds "Form1"
  tools/mutate.py --list          the faults, without running anything
  tools/mutate.py --skip 20       resume after the first 20
  tools/mutate.py --numbers 2,7   only these faults (say, the last run's survivors)
  tools/mutate.py --no-sync       keep the scratch copy as it is (to measure an older suite)
  tools/mutate.py --check         only that every fault still applies to the tree (CI)

Each fault is (file, exact original text, replacement, what a user would
meet). A fault whose original text is not in its file exactly once is "not
applicable": the code moved on, and the fault should be rewritten.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

FAULTS = [
    # engine: reading the entries
    ("engine/entries/NumberReader.cpp", "return c == ' ' || c == '\\t' || c == '\\n';", "return c == ' ' || c == '\\n';", "tab no longer ignored"),
    ("engine/entries/NumberReader.cpp", "if (c >= 'a' && c <= 'f') return c - 'a' + 10;", "if (c >= 'a' && c <= 'e') return c - 'a' + 10;", "hex digit f ends the number"),
    ("engine/entries/NumberReader.cpp", "if (c < '0' || c > '7') break;", "if (c < '0' || c > '8') break;", "octal takes 8"),
    ("engine/entries/NumberReader.cpp", "number.append(expNegative ? \"e-\" : \"e\")", "number.append(expNegative ? \"e\" : \"e\")", "negative exponent read positive"),
    ("engine/entries/NumberReader.cpp", "if (LeadingOrder(integer, fraction) + exponent > 0) throw", "if (LeadingOrder(integer, fraction) + exponent < 0) throw", "huge number reads 0, tiny one faults"),
    ("engine/entries/NumberReader.cpp", "if (fraction < 0.5) return below;", "if (fraction <= 0.5) return below;", "halves round down"),
    ("engine/entries/NumberReader.cpp", "return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;", "return std::fmod(below, 2.0) == 0.0 ? below + 1.0 : below;", "halves round to odd"),
    ("engine/entries/NumberReader.cpp", "rounded <= 2147483647.0)", "rounded < 2147483647.0)", "largest N refused"),
    ("engine/entries/NumberReader.cpp", "return !(value - std::floor(value) > 0.0);", "return !(value - std::floor(value) > 0.5);", "decimals not warned"),
    # engine: showing numbers
    ("engine/entries/NumberFormat.cpp", "digits[keep] >= '5'", "digits[keep] > '5'", "5 rounds down"),
    ("engine/entries/NumberFormat.cpp", "const int keep = d.exponent + 3;", "const int keep = d.exponent + 2;", "one decimal kept"),
    ("engine/entries/NumberFormat.cpp", "if (value < 0.0 && !AllZeros(digits)) out.push_back('-');", "if (value < 0.0) out.push_back('-');", "-0.00 shown"),
    ("engine/entries/NumberFormat.cpp", "out.push_back(exponent < 0 ? '-' : '+');", "out.push_back(exponent <= 0 ? '-' : '+');", "E-00"),
    ("engine/entries/NumberFormat.cpp", "if (expDigits.size() < 2) out.push_back('0');", "if (expDigits.size() < 1) out.push_back('0');", "one-digit exponent"),
    ("engine/entries/NumberFormat.cpp", "constexpr const char* NotDefined = \"n.d.\";", "constexpr const char* NotDefined = \"n.d\";", "text for no value"),
    # engine: validation and messages
    ("engine/entries/ValidateEntries.cpp", "static_cast<double>(params.N) / (params.W * 4.0);", "static_cast<double>(params.N) / (params.W * 2.0);", "sampling limit doubled"),
    ("engine/entries/ValidateEntries.cpp", "if (!(highestCarrier >= params.fp)) {", "if (!(highestCarrier > params.fp)) {", "carrier at the limit refused"),
    ("engine/entries/ValidateEntries.cpp", "if (type == \"AM\") params.Kf = 0.0;", "if (type == \"FM\") params.Kf = 0.0;", "Kf zeroed for FM"),
    ("engine/entries/EntryTable.h", "&AnalysisParameters::fp, 1000.0, messages::M2}", "&AnalysisParameters::fp, 100.0, messages::M2}", "fp in wrong unit"),
    ("engine/entries/ValidateEntries.cpp", "const double scaled = RoundHalfEven(entered) * factor;", "const double scaled = entered * factor;", "W, fp, fm not rounded"),
    ("engine/entries/ValidateEntries.cpp", "params.W == 0.0 || params.fp == 0.0 || params.fm == 0.0", "params.W == 0.0 || params.fp == 0.0", "fm = 0 accepted"),
    ("engine/entries/ValidateEntries.cpp", "params.MessageText = text;\n    messages.ShowMessage(params.MessageText);", "messages.ShowMessage(text);\n    params.MessageText = text;", "MessageText set after the box"),
    ("engine/entries/EntryTable.h", "kModulationTypes{\"AM\", \"FM\", \"PM\"};", "kModulationTypes{\"AM\", \"FM\", \"PM \"};", "PM refused"),
    ("engine/entries/Messages.h", "\"W, fp, fm non possono essere nulli!\"", "\"W, fp, fm non possono essere nulli\"", "message text"),
    ("engine/entries/Messages.h", "\"Deve essere fp minore o uguale a N/4W per Shannon \"", "\"Deve essere fp minore o uguale a N/4W per Shannon\"", "message trailing blank"),
    ("engine/entries/ValidateEntries.cpp", "fault.SetEntry({index, read});", "static_cast<void>(read);", "fault hint names no entry"),
    ("engine/entries/FaultMessage.cpp", "std::fabs(params.*entry.field / entry.factor)", "std::fabs(params.*entry.field)", "hint weighs W in seconds"),
    ("engine/core/RuntimeFault.cpp", "\"Errore: indice fuori dall'intervallo.\"", "\"Errore: indice fuori dall intervallo.\"", "fault text"),
    # engine: readouts, run, computation
    ("engine/CursorReadout.cpp", "text += \" msec\";", "text += \" ms\";", "readout unit"),
    ("engine/CursorReadout.cpp", "text += \"S(f) = \";", "text += \"S(f)= \";", "readout text"),
    ("engine/CursorReadout.cpp", "p.CursorLevel = plot::LevelAtY(y, p.SpectrumPeak);", "p.CursorLevel = plot::LevelAtY(x, p.SpectrumPeak);", "level read from x"),
    ("engine/CursorReadout.cpp", "(corners.x2 - corners.x1) / pixels.width", "(corners.x2 - corners.x1) / pixels.height", "pointer x stretched over the plot's height"),
    ("engine/GuardedPress.cpp", "return FaultMessage(fault, state.params);", "return FaultMessage(fault);", "press fault without the entry behind it"),
    ("engine/AnalysisRun.cpp", "    host.WaveformPlot().Blank();\n", "", "old trace stays"),
    ("engine/PlotDrawing.cpp", "    plot::DrawZeroAxis(canvas);\n", "", "no zero level on the waveform"),
    ("engine/signal/Synthesis.cpp", "amOut[j] = ((t.mAM * tone[j] + 1.0) * t.Vp) * carrier[j];", "amOut[j] = ((t.mAM * tone[j] + 1.0) * t.Vp) * tone[j];", "AM wave wrong"),
    ("engine/signal/Synthesis.cpp", "if (modulationText == \"PM\") copyFrom(b.AngleWave);", "if (modulationText == \"PM\") copyFrom(b.AmWave);", "PM shows AM"),
    ("engine/signal/Spectrum.cpp", "const double twoOverW = 2.0 / p.W;", "const double twoOverW = 1.0 / p.W;", "spectrum levels halved"),
    ("engine/signal/Peaks.cpp", "if (later.peak_ >= peak_) peak_ = later.peak_;", "", "a peak in a later part of the buffer ignored"),
    ("engine/signal/Peaks.cpp", "    stop_ = later.stop_;\n", "", "a value that is not finite in a later part passes"),
    ("engine/signal/Synthesis.cpp", "for (std::size_t seen = firstBad.load(); bad < seen", "for (std::size_t seen = firstBad.load(); bad > seen", "a fault reported at the last part's sample, not the first's"),
    ("engine/signal/Synthesis.cpp", "std::fill(angle.begin() + static_cast<std::ptrdiff_t>(bad), angle.end(), 0.0);", "", "samples past a fault left from the parts after it"),
    ("engine/signal/Spectrum.cpp", "const std::int32_t shared = std::min(lastBin + 1, (n - 1) / 2);", "const std::int32_t shared = lastBin + 1;", "a last bin past N/2 split from beyond the transform's output"),
    ("engine/core/WorkerPool.cpp", "if (part < failedPart) {", "if (part > failedPart || failedPart == std::numeric_limits<std::size_t>::max()) {", "a later part's fault raised instead of the first's"),
    ("engine/signal/VectorPeak.cpp", "best1 = _mm_max_pd(best1, b);", "best1 = _mm_max_pd(best1, a);", "peak in every other pair missed"),
    ("engine/signal/VectorPeak.cpp", "finite = _mm_movemask_pd(notFinite) == 0;", "finite = true;", "a non-finite value passes the scan"),
    ("engine/signal/CpuFeatures.cpp", "found.avx512f = __builtin_cpu_supports(\"avx512f\");", "found.avx512f = true;", "AVX-512 cosines on a processor without them"),
    ("engine/memory/CheckedArray.cpp", "if (storage_.zero()) return {};", "return {};", "a new buffer from the allocator keeps what it held"),
    ("engine/AllocateSampleBuffers.cpp", "parts[part].size_bytes()", "parts[part].size_bytes() / 2", "a press's new buffers keep what the heap held in their upper halves"),
    ("engine/AllocateSampleBuffers.cpp", "return static_cast<bool>(alongside);", "return false;", "the transform is planned twice over"),
    ("engine/memory/FftwAllocator.cpp", "*static_cast<std::size_t*>(block) = mapped;", "*static_cast<std::size_t*>(block) = 0;", "FFTW's mapped blocks freed as malloc's"),
    ("engine/memory/MemoryText.cpp", "return *free + cached.value_or(0);", "return *free;", "page cache not counted as available on old kernels"),
    ("engine/memory/MemoryText.cpp", "match = list.substr(0, comma) == controller;", "match = list.substr(0, comma).starts_with(controller);", "another cgroup controller taken for memory"),
    ("engine/memory/MemoryText.cpp", "value < 0) return std::nullopt;", "value < -1) return std::nullopt;", "a negative figure read as memory"),
    ("engine/signal/Spectrum.cpp", "state.buffers.Spectrum.clearFrom(p.BinIndex, &state.pool());", "", "a spectrum fault leaves the transform's input for the readout"),
    ("engine/memory/PageMapping.cpp", "if (aligned > start) munmap(raw, aligned - start);", "", "the alignment slack stays mapped"),
    # plot: mappings and passes
    ("plot/PlotMapping.cpp", "return x / 100.0 * w * 1000.0 / kt;", "return x / 100.0 * w * 100.0 / kt;", "time readout unit"),
    ("plot/PlotMapping.cpp", "return (y - 50.0) * signalPeak / 45.0;", "return (y - 50.0) * signalPeak / 40.0;", "value readout scale"),
    ("plot/PlotMapping.cpp", "return x / 200.0 * (static_cast<double>(n) / w) / freqScale;", "return x / 100.0 * (static_cast<double>(n) / w) / freqScale;", "frequency readout doubled"),
    ("plot/PlotMapping.cpp", "return y * spectrumPeak / 90.0;", "return y * spectrumPeak / 95.0;", "level readout scale"),
    ("plot/PlotMapping.h", "value * 45.0 / signalPeak + 50.0;", "value * 45.0 / signalPeak + 51.0;", "trace one unit high"),
    ("plot/PlotMapping.h", "return signalPeak == 0.0 ? 50.0 :", "return signalPeak == 0.0 ? 0.0 :", "silent trace at the bottom"),
    ("plot/PlotPasses.cpp", "trace.Add(merger, p == 0 ? 0 : starts[p] - 1, end);", "trace.Add(merger, starts[p], end);", "a long trace broken where its parts meet"),
    ("plot/PlotMapping.h", "return static_cast<double>(i * 100) * kt", "return static_cast<double>(static_cast<std::int32_t>(i * 100)) * kt", "trace folds back past 21474836 samples"),
    ("plot/PlotMapping.h", "static_cast<double>(k * 200) * freqScale", "static_cast<double>(k * 199) * freqScale", "lines shifted"),
    ("plot/PlotMapping.h", "level * 90.0 / spectrumPeak;", "level * 95.0 / spectrumPeak;", "lines too tall"),
    ("plot/PlotPasses.cpp", "merger.AddEach(first, last, [this]", "merger.AddEach(first, last - 1, [this]", "last segment missing"),
    ("plot/TraceColumnMerger.h", "                    left = true;\n", "", "the point that leaves a column is dropped"),
    ("plot/RasterCanvas.cpp", "std::min(filled, size - filled))", "std::min(filled, size - filled - 4))", "blanking leaves the last pixel"),
    ("plot/PlotPasses.cpp", "for (std::int64_t k = 1; k <= last; ++k) {", "for (std::int64_t k = 0; k <= last; ++k) {", "bin 0 drawn"),
    ("plot/PlotPasses.cpp", "canvas.Line(0.0F, 50.0F, 100.0F, 50.0F, Black);", "canvas.Line(0.0F, 50.0F, 100.0F, 50.0F, Red);", "axis colour"),
    ("plot/PlotPasses.cpp", "StemColumnMerger lines(canvas, Red);", "StemColumnMerger lines(canvas, Black);", "lines black on black"),
    ("plot/Canvas.h", "inline constexpr Rgb Red{255, 0, 0};", "inline constexpr Rgb Red{255, 0, 1};", "red slightly off"),
    ("plot/ClipSegment.cpp", "const std::array<double, 4> p{-dx, dx, -dy, dy};", "const std::array<double, 4> p{-dx, dx, dy, dy};", "bottom edge clipping"),
    ("plot/ClipSegment.cpp", "x = edge < 2 ? edges[edge] : startX + t * dx;", "x = edge < 1 ? edges[edge] : startX + t * dx;", "right edge cut interpolated"),
    ("plot/ColumnRows.cpp", "? FloorOf(steepTop_ + 0.5) : steepTop_;", "? FloorOf(steepTop_ + 1.5) : steepTop_;", "merged column one row short at top"),
    ("plot/ColumnRows.cpp", "? FloorOf(steepBottom_ + 0.5) - 1.0 : steepBottom_;", "? FloorOf(steepBottom_ + 0.5) : steepBottom_;", "merged column one row long at bottom"),
    ("plot/ColumnRows.cpp", "row = FloorOf(a.y + 0.5);", "row = FloorOf(a.y);", "point segment row"),
    ("plot/TraceColumnMerger.cpp", "const double x = runColumn_ + 0.5;", "const double x = runColumn_ + 1.5;", "merged stroke in the next column"),
    ("plot/StemColumnMerger.cpp", "groupHigh_ = std::max(groupHigh_, height);", "groupHigh_ = std::min(groupHigh_, height);", "merged lines too short"),
    ("plot/PixelGrid.cpp", "yScale_ = -height_ / 100.0;", "yScale_ = -height_ / 99.0;", "pixel rows off"),
    ("plot/RasterCanvas.cpp", "+ (slope > 0 ? 32 : 0) - major1)", "+ 32 - major1)", "in the browser, lines rising to the right a pixel row too high here and there"),
    ("plot/RasterCanvas.cpp", "const Margin margin{-1.0, image_.width + 1.0, -1.0, image_.height + 1.0};", "const Margin margin{0.0, image_.width + 0.0, 0.0, image_.height + 0.0};", "in the browser, a line running off the plot stepped a pixel away from the desktop's"),
    ("plot/RasterCanvas.cpp", "return v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);", "return std::floor(v + 0.5);", "in the browser, a dot on the left or top edge that the desktop leaves out"),
    # ui: what the windows show
    ("engine/forms/FormTable.h", "kEntryBackground{255, 192, 192};", "kEntryBackground{255, 192, 193};", "entry colour"),
    ("engine/forms/FormTable.h", "Rgb{192, 255, 255}, Alignment::Centre", "Rgb{192, 255, 254}, Alignment::Centre", "contact label colour"),
    ("engine/entries/EntryTable.h", "{\"Text6\", &EntryTexts::Text6, \"4.05\",", "{\"Text6\", &EntryTexts::Text6, \"4.5\",", "default mf"),
    ("engine/entries/EntryTable.h", "\"Indice di modulazione AM\"", "\"Indice di modulazione  AM\"", "label text"),
    ("engine/entries/EntryTable.h", "{\"Text1\", &EntryTexts::Text1, \"2\", {1680, 1080, 1935, 375}, 5,", "{\"Text1\", &EntryTexts::Text1, \"2\", {1680, 1080, 1935, 375}, 8,", "tab order"),
    ("ui/WindowSetup.cpp", "combo->setCompleter(nullptr);", "", "type box completes"),
    ("engine/forms/FormTable.h", "kTypeBoxInitialText, Font{12.0, true},", "kTypeBoxInitialText, Font{12.0, false},", "type box not bold"),
    ("ui/GraphicalButton.cpp", "if (!event->isAutoRepeat()) click();", "if (event->isAutoRepeat()) click();", "Enter does not press"),
    ("ui/GraphicalButton.cpp", "const QBrush fill(face_);", "const QBrush fill(Qt::lightGray);", "button face grey"),
    ("engine/forms/FormTable.h", "Rgb{255, 255, 192}}", "Rgb{255, 255, 193}}", "waveform background"),
    ("engine/forms/FormTable.h", "Rgb{255, 0, 0}}", "Rgb{255, 0, 1}}", "button colour"),
    ("engine/forms/FormTable.h", "Rgb{0, 0, 0}}", "Rgb{0, 0, 1}}", "spectrum background"),
    ("engine/forms/FormTable.h", "\"Righe dello spettro in rosso\"", "\"Righe dello spettro in rosa\"", "label text"),
    ("ui/QtMessageSink.cpp", "QString::fromUtf8(kApplicationTitle), QString::fromStdString(text),", "QString::fromUtf8(kApplicationTitle).append(' '), QString::fromStdString(text),", "message box caption"),
    ("ui/QtMessageSink.cpp", "QMessageBox::Ok, QApplication::activeWindow());", "QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());", "message box buttons"),
    ("ui/QtMessageSink.cpp", "QMessageBox box(QMessageBox::NoIcon,", "QMessageBox box(QMessageBox::Information,", "message box icon"),
    ("engine/GuardedPress.h", "messages.ShowMessage(explain(RuntimeFault(FaultKind::OutOfMemory)));", "messages.ShowMessage(explain(RuntimeFault(FaultKind::Overflow)));", "allocation failure text"),
    ("ui/AppWindows.cpp", "    BringToFront(SpectrumWindow());", "    SpectrumWindow();", "spectrum window not shown"),
    ("ui/WindowSetup.cpp", "window.setAttribute(Qt::WA_DeleteOnClose);", "", "closed window kept"),
    ("engine/entries/EntryTable.h", "return (twips + 7) / 15;", "return (twips + 7) / 16;", "layout scale"),
    # the session both front ends show, and how each shows it
    ("engine/session/Session.cpp", "        slot->reset();", "", "a closed window keeps its plot"),
    ("engine/session/Session.cpp", "    AnnounceImages();\n    events_.push_back({EventKind::Message", "    events_.push_back({EventKind::Message", "a fault's message before the plot behind it"),
    ("engine/session/PlotCursor.cpp", "PointerToPlot(px, py, window.LayoutSize(), window.Corners())", "PointerToPlot(px, py, window.Pixels(), window.Corners())", "at pixel ratio 2 the readout reads the point halfway to the pointer"),
    ("engine/session/PlotCursor.cpp", "if (std::fabs(sample.x - edge) <= width / 2.0) return sample;", "if (false) return sample;", "keyboard cursor beside the samples"),
    ("engine/session/PlotCursor.cpp", "spectrum[static_cast<std::size_t>(k)] > spectrum[static_cast<std::size_t>(best)]) best = k;", "spectrum[static_cast<std::size_t>(k)] < spectrum[static_cast<std::size_t>(best)]) best = k;", "keyboard reads a column's shortest line"),
    ("engine/session/PlotCursor.cpp", "if (column < 0 || !lit[static_cast<std::size_t>(column)]) continue;", "if (column < 0) continue;", "keyboard visits lines nobody sees"),
    ("engine/session/PlotCursor.cpp", "[&](const CursorPlace& line) { return DeviceColumn(window, line) > at; });", "[&](const CursorPlace& line) { return DeviceColumn(window, line) >= at; });", "Right stays on its line"),
    ("engine/session/PlotCursor.cpp", "if (key == CursorKey::Last) return lines.back();", "", "End on the spectrum goes to the first line"),
    ("engine/session/PlotCursor.cpp", "if (end.px < window.LayoutSize().width) return end;", "", "End stops short of a trace's last sample"),
    ("engine/session/Session.cpp", "if (outcome == PressOutcome::Done && ran_) {", "if (outcome == PressOutcome::Done) {", "a refused press redraws a resized plot with its own entries"),
    ("engine/session/Session.cpp", "            window.drawn = run;\n", "", "a plot drawn again forgets its run"),
    ("engine/session/Session.cpp", "if (window == nullptr || !window->changed || !window->visible) continue;", "if (window == nullptr || !window->changed) continue;", "a spectrum off screen is handed over and described at every press"),
    ("engine/session/PlotDescription.cpp", "constexpr const char* kSpectrumLead = \"Spettro, righe visibili: \";", "constexpr const char* kSpectrumLead = \"Spettro: \";", "spectrum description text"),
    ("engine/session/PlotDescription.cpp", "        text += &line == &lines.front()", "        text += &line != &lines.front() ? std::string() : &line == &lines.front()", "spectrum description without its lines after the first"),
    ("engine/session/PlotCursor.cpp", "rgba.data() + row + x * 4;", "rgba.data() + row + x * 3;", "lines in words read off the wrong pixels"),
    ("engine/session/ResultWindow.cpp", "if (Stale()) {", "if (false) {", "a new pixel ratio never reaches the plots"),
    ("ui/AppWindows.cpp", "Plot(event.form).ShowImage(*window);", "(void)window;", "the desktop's plots never show what was drawn"),
    ("ui/AppWindows.cpp", "Plot(event.form).SetReadout(QString::fromStdString(event.text), QPointF(event.x, event.y));", "(void)event;", "no readout on the desktop"),
    ("ui/AppWindows.cpp", "Plot(event.form).setAccessibleDescription(QString::fromStdString(event.text));", "(void)event;", "desktop plots not described"),
    ("ui/PlotSurface.cpp", "    emit CursorKeyPressed(*key);\n", "", "desktop plots deaf to the keyboard"),
    ("ui/PlotSurface.cpp", "return free ? CursorKey::Left : CursorKey::Previous;", "return free ? CursorKey::Left : CursorKey::Next;", "desktop Left steps right"),
    ("ui/Form1.cpp", "[&session, name = entry.box](const QString& text) { session.SetText(name, text.toStdString()); }", "[](const QString&) {}", "what is typed into a box never reaches the press"),
    ("ui/PlotSurface.cpp", "image_.setDevicePixelRatio(window.Ratio());", "", "at scale 2 the plot shows a quarter of its image, twice as large"),
    ("ui/DecimalSeparator.h", "return QLocale().decimalPoint().toStdString();", "return QLocale::c().decimalPoint().toStdString();", "regional separator ignored"),
    ("ui/UiFonts.cpp", "font.setWeight(bold ? QFont::Bold : QFont::Normal);", "font.setWeight(bold ? QFont::DemiBold : QFont::Normal);", "bold captions"),
]

# Every program ctest runs: one left out is "Not Run", and the unchanged tree fails.
TEST_TARGETS = ["engine_tests", "plot_tests", "fuzz_replays", "UiTest", "web_tests"]


def run(cmd, cwd, log, env=None):
    with open(log, "a") as out:
        out.write("\n$ " + " ".join(cmd) + "\n")
        out.flush()
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, env=env).returncode


def sync(source, scratch):
    """Makes the scratch tree match the source, touching only files that differ so
    that the scratch build recompiles no more than it must."""
    def skipped(relative):
        top = relative.split(os.sep)[0]
        return top.startswith("build") or top == ".git"
    wanted = set()
    for root, dirs, files in os.walk(source):
        relative_root = os.path.relpath(root, source)
        dirs[:] = [d for d in dirs if not skipped(os.path.normpath(os.path.join(relative_root, d)))]
        for name in files:
            relative = os.path.normpath(os.path.join(relative_root, name))
            wanted.add(relative)
            target = os.path.join(scratch, relative)
            with open(os.path.join(root, name), "rb") as f:
                content = f.read()
            if os.path.exists(target) and open(target, "rb").read() == content:
                continue
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(os.path.join(root, name), target)  # a fresh time, so make sees the change
    for root, dirs, files in os.walk(scratch):
        relative_root = os.path.relpath(root, scratch)
        dirs[:] = [d for d in dirs if not skipped(os.path.normpath(os.path.join(relative_root, d)))]
        for name in files:
            relative = os.path.normpath(os.path.join(relative_root, name))
            if relative not in wanted:
                os.remove(os.path.join(root, name))


def build(scratch, log):
    targets = [t for t in TEST_TARGETS if os.path.exists(os.path.join(scratch, "tests"))]
    cmd = ["cmake", "--build", "build", "-j", str(min(os.cpu_count() or 2, 2)), "--target"] + targets
    return run(cmd, scratch, log) == 0


def tests_pass(scratch, log):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return run(["ctest", "--test-dir", "build", "--stop-on-failure", "-j2", "--timeout", "300"], scratch, log, env) == 0


def check(source, faults):
    """Lists every fault whose original text is not in its file exactly once."""
    stale = []
    for number, (path, original, _, note) in enumerate(faults, 1):
        file = os.path.join(source, path)
        count = open(file, encoding="utf-8").read().count(original) if os.path.exists(file) else 0
        if count != 1:
            stale.append(f"{number:3} {path}: {note} (found {count} times)")
    for line in stale:
        print(line)
    print(f"mutate --check: {len(faults) - len(stale)} of {len(faults)} faults apply")
    return 1 if stale else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--scratch", default="/tmp/trelvano-mutate")
    parser.add_argument("--only", default="")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--skip", type=int, default=0)
    parser.add_argument("--numbers", default="", help="only these faults, e.g. 2,7,44 (numbers as --list shows)")
    parser.add_argument("--no-sync", action="store_true")
    parser.add_argument("--check", action="store_true", help="only check that every fault's original text is in its file once")
    args = parser.parse_args()
    faults = [f for f in FAULTS if args.only in f[0] or args.only in f[3]]
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if args.check:
        return check(source, faults)
    if args.list:
        for number, (path, _, _, note) in enumerate(faults, 1):
            print(f"{number:3} {path}: {note}")
        return 0

    scratch = args.scratch
    log = os.path.join(scratch + ".log")
    if os.path.exists(os.path.join(scratch, "build")) and args.no_sync:
        pass
    elif os.path.exists(os.path.join(scratch, "build")):
        sync(source, scratch)  # the tree as it is now, keeping the scratch build
        # A test program added or renamed since the last run is a target only once CMake has run again.
        run(["cmake", "-S", ".", "-B", "build"], scratch, log)
    else:
        shutil.rmtree(scratch, ignore_errors=True)
        shutil.copytree(source, scratch, ignore=shutil.ignore_patterns("build*", ".git"))
        # Every fault relinks several test programs: lld does that in a fraction of the time.
        linker = ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"] if shutil.which("ld.lld") else []
        # test.sh's build, bar the benchmarks; warnings stay warnings even under CI, since a fault that
        # draws one must still meet the tests.
        run(["cmake", "--preset", "default", "-DTRELVANO_BUILD_BENCH=OFF", "-DTRELVANO_WERROR=OFF"] + linker,
            scratch, log)
    if not build(scratch, log) or not tests_pass(scratch, log):
        print(f"the unchanged tree does not pass its tests; see {log}")
        return 1

    killed = survived = unusable = 0
    for number, (path, original, replacement, note) in enumerate(faults, 1):
        if number <= args.skip or (args.numbers and str(number) not in args.numbers.split(",")):
            continue
        file = os.path.join(scratch, path)
        text = open(file, encoding="utf-8").read() if os.path.exists(file) else ""
        label = f"{number:3} {path}: {note}"
        if text.count(original) != 1:
            print(f"{label}: not applicable", flush=True)
            unusable += 1
            continue
        started = time.time()
        with open(file, "w", encoding="utf-8") as out:
            out.write(text.replace(original, replacement))
        try:
            if not build(scratch, log):
                verdict = "does not build"
                unusable += 1
            elif tests_pass(scratch, log):
                verdict = "SURVIVED"
                survived += 1
            else:
                verdict = "killed"
                killed += 1
        finally:
            with open(file, "w", encoding="utf-8") as out:
                out.write(text)
        print(f"{label}: {verdict} ({time.time() - started:.0f} s)", flush=True)

    applied = killed + survived
    rate = 100.0 * killed / applied if applied else 0.0
    print(f"killed {killed} of {applied} ({rate:.0f} %), survived {survived}, not applicable {unusable}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
