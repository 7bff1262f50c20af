// The fade-text banner: shows its lines one at a time, changing line every
// LineDelay with a cross-fade, each line in the font style and alignment its
// markup tags select. It has no window of its own: it draws on its form's
// surface and runs on two of the form's timers.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/banner/effect.h"
#include "core/banner/fade_cycle.h"
#include "core/banner/line_list.h"
#include "core/banner/render.h"
#include "toolkit/component.h"
#include "toolkit/controls.h"

namespace tk {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
// Whether a tag styles only its own line or also the lines after it, until the
// next of its kind.
enum TLabelEffect { leOnlyALine, leUntilNextLabel };
// Smoothing grades, best first.
enum TAAQuality { aqHigh, aqNormal, aqLow, aqNone };
enum TUserLabelStyle {
    lsLeftJustify,
    lsCenter,
    lsRightJustify,
    lsRegOwner,
    lsRegOrganization,
    lsAppTitle,
    lsDate,
    lsTime
};

using TFontEffect = quenlo::banner::FontEffect;
using quenlo::banner::GradualStyle;
using quenlo::banner::gsBottomToTop;
using quenlo::banner::gsLeftToRight;
using quenlo::banner::gsRightToLeft;
using quenlo::banner::gsTopToBottom;
using quenlo::banner::TextureMode;
using quenlo::banner::tmNormal;
using quenlo::banner::tmStretched;
using quenlo::banner::tmTile;

// A named font style: "<Name>" in a line selects its font and effect.
struct TFontLabel {
    std::string Name;
    TFont Font;
    TFontEffect Effect;
};

// A named label: "<Name>" in a line sets the alignment or inserts a text.
struct TUserLabel {
    std::string Name;
    TUserLabelStyle Style = lsLeftJustify;
};

struct TParentEffect {
    bool ParentColor = true;  // take the form's colour as the background colour
    bool ParentFont = true;   // take the form's font as the banner's own font
};

class TAAFadeText : public TComponent, private quenlo::banner::CycleHost {
  public:
    explicit TAAFadeText(TForm& owner);
    ~TAAFadeText() override;

    // Designed form client coordinates; the form's layout scale applies, as to
    // the font heights.
    int Left = 0, Top = 0, Width = 0, Height = 0;

    struct TFadeTextSettings {
        quenlo::banner::LineList Lines;
        unsigned LineDelay = 3000;  // ms from one line change to the next
        unsigned FadeDelay = 600;   // nominal ms of a cross-fade, run in 25 ms steps
        TAlignment Alignment = taCenter;
        TTextLayout Layout = tlCenter;
        TLabelEffect LabelEffect = leUntilNextLabel;
        bool Transparent = false;  // kept; the banner always paints its background
        std::string BackGround;    // kept; no picture is drawn, the background is BackColor
        COLORREF BackColor = RGB(255, 255, 255);
        TAAQuality Quality = aqNormal;
        TFontEffect FontEffect;  // effect of the banner's own font
    } Text;

    std::vector<TFontLabel> Fonts;
    std::vector<TUserLabel> Labels;
    TParentEffect ParentEffect;
    TFont Font;           // the banner's own font, for lines before any font tag
    int RepeatCount = 0;  // passes through the lines before the cycle ends; 0: never ends

    // The line cycle runs while active, from the moment the form is loaded.
    bool Active() const { return active_; }
    void SetActive(bool active);

    // Repaints the form's invalid region at once, without the message loop;
    // children are not repainted.
    void Update();
    // While the lock is above 0 a change of the lines does nothing at all.
    void RaiseUpdateLock() { cycle_.RaiseUpdateLock(); }
    void LowerUpdateLock() { cycle_.LowerUpdateLock(); }
    int UpdateLock() const { return cycle_.UpdateLock(); }

    std::function<void()> OnComplete;  // the last pass of RepeatCount has ended
    std::function<void()> OnPainted;   // after every paint of the banner

    // What the line cycle shows: the line on display and the cross-fade's
    // position.
    const quenlo::banner::FadeCycle& Cycle() const { return cycle_; }

    // Timer ids on the form's window.
    static constexpr UINT_PTR kLineTimerId = 0x4101;
    static constexpr UINT_PTR kFadeTimerId = 0x4102;

    // TComponent
    void Loaded() override;
    void PaintOn(HDC dc, const RECT& update) override;
    // The banner always paints its background (Text.Transparent is not drawn).
    bool OpaqueBounds(RECT& bounds) const override;
    bool TimerTick(UINT_PTR id) override;
    void Unloading() override;

  private:
    // CycleHost
    quenlo::banner::CycleTiming Timing() const override;
    quenlo::banner::Markup CurrentMarkup() const override;
    void StartTimer(quenlo::banner::BannerTimer timer, unsigned ms) override;
    void StopTimer(quenlo::banner::BannerTimer timer) override;
    void BeginFade(const quenlo::banner::DisplayLine& line) override;
    void Redraw(const quenlo::banner::DisplayLine& line) override;
    void Invalidate() override;
    void Complete() override;

    // Form client rectangle, scaled with the form's layout.
    RECT Bounds() const;
    COLORREF BackColor() const;
    // Strips sized to the banner, showing the background until a line is drawn.
    void EnsureStrips();
    void Render(const quenlo::banner::DisplayLine& line, quenlo::banner::Strip& out) const;
    quenlo::banner::Mask Coverage(const std::string& text, const TFont& font) const;
    std::string LabelText(quenlo::banner::LabelKind kind) const;

    quenlo::banner::FadeCycle cycle_;
    quenlo::banner::Strip from_, to_, shown_;
    // The line `to_` is still to be rendered for. Rendering waits until the picture is needed, so
    // that the window shows without waiting for the first line's glyphs and effects.
    std::optional<quenlo::banner::DisplayLine> pending_;
    void RenderPending();
    bool active_ = true;
    bool loaded_ = false;
};

}  // namespace tk
