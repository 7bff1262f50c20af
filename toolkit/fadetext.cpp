#include "toolkit/fadetext.h"

#include <cstring>

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/win32_util.h"

namespace tk {

namespace qb = quenlo::banner;

namespace {

qb::LabelKind KindOf(TUserLabelStyle s) {
    switch (s) {
        case lsLeftJustify:
            return qb::LabelKind::LeftJustify;
        case lsCenter:
            return qb::LabelKind::Center;
        case lsRightJustify:
            return qb::LabelKind::RightJustify;
        case lsRegOwner:
            return qb::LabelKind::RegOwner;
        case lsRegOrganization:
            return qb::LabelKind::RegOrganization;
        case lsAppTitle:
            return qb::LabelKind::AppTitle;
        case lsDate:
            return qb::LabelKind::Date;
        case lsTime:
            return qb::LabelKind::Time;
    }
    return qb::LabelKind::LeftJustify;
}

qb::Align AlignOf(TAlignment a) {
    return a == taLeftJustify    ? qb::Align::Left
           : a == taRightJustify ? qb::Align::Right
                                 : qb::Align::Center;
}

qb::VAlign LayoutOf(TTextLayout l) {
    return l == tlTop ? qb::VAlign::Top : l == tlBottom ? qb::VAlign::Bottom : qb::VAlign::Center;
}

// How many times the size glyphs are drawn at before they are averaged down.
int SupersampleOf(TAAQuality q) { return q == aqHigh ? 3 : q == aqNormal ? 2 : 1; }

std::string RegisteredValue(const char* name) {
    // The 64-bit view where there is one: that is where the system keeps these
    // values.
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return {};
    }
    char buf[512];
    DWORD size = sizeof buf - 1;
    DWORD type = 0;
    std::string value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buf[size] = '\0';
        value = buf;
    }
    RegCloseKey(key);
    return value;
}

std::string NowFormatted(bool date) {
    char buf[128];
    const int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf,
                                        sizeof buf)
                       : GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf) : std::string();
}

}  // namespace

TAAFadeText::TAAFadeText(TForm& owner) : TComponent(owner), cycle_(Text.Lines, *this) {
    Text.Lines.OnChange = [this] { cycle_.LinesChanged(); };
}

TAAFadeText::~TAAFadeText() {
    Text.Lines.OnChange = nullptr;
    if (loaded_) Unloading();
}

void TAAFadeText::SetActive(bool active) {
    active_ = active;
    if (!loaded_) return;
    if (active) {
        cycle_.Start();
    } else {
        cycle_.Stop();
    }
}

void TAAFadeText::Update() {
    if (HWND form = Owner().Handle()) {
        RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    }
}

void TAAFadeText::Loaded() {
    loaded_ = true;
    EnsureStrips();
    if (active_) cycle_.Start();
}

void TAAFadeText::Unloading() {
    cycle_.Stop();
    loaded_ = false;
}

bool TAAFadeText::TimerTick(UINT_PTR id) {
    if (id == kLineTimerId) {
        cycle_.LineTick();
        return true;
    }
    if (id == kFadeTimerId) {
        cycle_.FadeTick();
        return true;
    }
    return false;
}

void TAAFadeText::PaintOn(HDC dc, const RECT& update) {
    const RECT mine = Bounds();
    RECT common;
    if (!IntersectRect(&common, &mine, &update)) return;
    EnsureStrips();
    // At step 0 of a fade the picture is the one faded from alone: the new line is not needed yet.
    if (cycle_.Step() > 0 || cycle_.Step() >= cycle_.Steps()) RenderPending();
    qb::CrossFade(from_, to_, cycle_.Step(), cycle_.Steps(), shown_);
    const BITMAPINFO bi = TopDownBitmapInfo(shown_.width, shown_.height);
    SetDIBitsToDevice(dc, mine.left, mine.top, static_cast<DWORD>(shown_.width),
                      static_cast<DWORD>(shown_.height), 0, 0, 0, static_cast<UINT>(shown_.height),
                      shown_.px.data(), &bi, DIB_RGB_COLORS);
    if (OnPainted) OnPainted();
}

bool TAAFadeText::OpaqueBounds(RECT& bounds) const {
    bounds = Bounds();
    return true;
}

qb::CycleTiming TAAFadeText::Timing() const {
    qb::CycleTiming t;
    t.lineDelay = Text.LineDelay;
    t.fadeDelay = Text.FadeDelay;
    t.repeatCount = RepeatCount;
    return t;
}

qb::Markup TAAFadeText::CurrentMarkup() const {
    std::vector<std::string> fonts;
    fonts.reserve(Fonts.size());
    for (const TFontLabel& f : Fonts) fonts.push_back(f.Name);
    std::vector<qb::LabelTag> labels;
    labels.reserve(Labels.size());
    for (const TUserLabel& l : Labels) labels.push_back({l.Name, KindOf(l.Style)});
    return qb::Markup(std::move(fonts), std::move(labels), Text.LabelEffect == leUntilNextLabel);
}

void TAAFadeText::StartTimer(qb::BannerTimer timer, unsigned ms) {
    if (HWND form = Owner().Handle()) {
        SetTimer(form, timer == qb::BannerTimer::Line ? kLineTimerId : kFadeTimerId, ms, nullptr);
    }
}

void TAAFadeText::StopTimer(qb::BannerTimer timer) {
    if (HWND form = Owner().Handle()) {
        KillTimer(form, timer == qb::BannerTimer::Line ? kLineTimerId : kFadeTimerId);
    }
}

void TAAFadeText::BeginFade(const qb::DisplayLine& line) {
    EnsureStrips();
    // The new cross-fade starts from whatever is on screen, a stopped fade
    // included.
    if (cycle_.Step() > 0 || cycle_.Step() >= cycle_.Steps()) RenderPending();
    qb::CrossFade(from_, to_, cycle_.Step(), cycle_.Steps(), from_);
    pending_ = line;
}

void TAAFadeText::Redraw(const qb::DisplayLine& line) {
    EnsureStrips();
    pending_ = line;
}

void TAAFadeText::RenderPending() {
    if (!pending_) return;
    Render(*pending_, to_);
    pending_.reset();
}

void TAAFadeText::Invalidate() {
    if (HWND form = Owner().Handle()) {
        const RECT r = Bounds();
        InvalidateRect(form, &r, FALSE);
    }
}

void TAAFadeText::Complete() {
    active_ = false;
    if (OnComplete) OnComplete();
}

COLORREF TAAFadeText::BackColor() const {
    return ParentEffect.ParentColor ? Owner().Color : Text.BackColor;
}

RECT TAAFadeText::Bounds() const {
    const TForm& form = Owner();
    return RECT{form.Scale(Left), form.Scale(Top), form.Scale(Left + Width),
                form.Scale(Top + Height)};
}

void TAAFadeText::EnsureStrips() {
    const RECT r = Bounds();
    const int w = r.right > r.left ? r.right - r.left : 0;
    const int h = r.bottom > r.top ? r.bottom - r.top : 0;
    if (to_.width == w && to_.height == h) return;
    const std::uint32_t back = qb::PixelOf(BackColor());
    from_ = qb::Strip(w, h, back);
    to_ = qb::Strip(w, h, back);
    shown_ = qb::Strip(w, h, back);
}

void TAAFadeText::Render(const qb::DisplayLine& line, qb::Strip& out) const {
    const qb::StyledLine styled = CurrentMarkup().Resolve(
        line.text, line.entry, [this](qb::LabelKind k) { return LabelText(k); });
    const TFont* font = ParentEffect.ParentFont ? &Owner().Font : &Font;
    qb::LineLook look;
    look.effect = Text.FontEffect;
    if (styled.style.font && *styled.style.font < Fonts.size()) {
        font = &Fonts[*styled.style.font].Font;
        look.effect = Fonts[*styled.style.font].Effect;
    }
    look.fontColor = font->Color;
    look.align = styled.style.align.value_or(AlignOf(Text.Alignment));
    look.layout = LayoutOf(Text.Layout);
    look.backColor = BackColor();
    qb::RenderLine(Coverage(styled.text, *font), look, out);
}

// Glyph coverage from GDI: white text on black in a DIB section, drawn at the
// quality grade's multiple of the size with grey-scale smoothing, then averaged
// down to the drawn size.
qb::Mask TAAFadeText::Coverage(const std::string& text, const TFont& font) const {
    if (text.empty()) return {};
    const int scale = SupersampleOf(Text.Quality);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return {};
    HFONT hfont =
        CreateFontA(Owner().Scale(font.Height) * scale, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL,
                    FALSE, FALSE, FALSE, font.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    Text.Quality == aqNone ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str());
    HGDIOBJ oldFont = SelectObject(dc, hfont);
    const int len = static_cast<int>(text.size());
    SIZE extent{};
    TEXTMETRICA tm{};
    GetTextExtentPoint32A(dc, text.c_str(), len, &extent);
    GetTextMetricsA(dc, &tm);
    // Whole blocks of the supersampling grid, with room for a synthesized bold's
    // overhang.
    const int w = (extent.cx + tm.tmOverhang + scale - 1) / scale * scale;
    const int h = (extent.cy + scale - 1) / scale * scale;

    qb::Mask fine;
    void* bits = nullptr;
    const BITMAPINFO bi = TopDownBitmapInfo(w, h);
    HBITMAP bmp =
        w > 0 && h > 0 ? CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bmp && bits) {
        HGDIOBJ oldBmp = SelectObject(dc, bmp);
        std::memset(bits, 0, static_cast<std::size_t>(w) * h * 4);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, 0, 0, text.c_str(), len);
        GdiFlush();
        fine = qb::Mask(w, h);
        const auto* px = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < fine.a.size(); ++i) {
            const std::uint32_t p = px[i];
            fine.a[i] =
                static_cast<std::uint8_t>((qb::RedOf(p) + qb::GreenOf(p) + qb::BlueOf(p) + 1) / 3);
        }
        SelectObject(dc, oldBmp);
        DeleteObject(bmp);
    }
    SelectObject(dc, oldFont);
    DeleteObject(hfont);
    DeleteDC(dc);
    return qb::Downsample(fine, scale);
}

std::string TAAFadeText::LabelText(qb::LabelKind kind) const {
    switch (kind) {
        case qb::LabelKind::RegOwner:
            return RegisteredValue("RegisteredOwner");
        case qb::LabelKind::RegOrganization:
            return RegisteredValue("RegisteredOrganization");
        case qb::LabelKind::AppTitle:
            return Application ? Application->Title() : std::string();
        case qb::LabelKind::Date:
            return NowFormatted(true);
        case qb::LabelKind::Time:
            return NowFormatted(false);
        default:
            return {};
    }
}

}  // namespace tk
