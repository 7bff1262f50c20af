// Settings of the installer window's status banner, AAFadeText1.
#pragma once

#include "toolkit/fadetext.h"

namespace quenlo::ui {

// Gives the banner its place, look, named font styles and labels, and the
// eight-line notice. Called by the window right after it creates the banner.
void ApplyBannerSettings(tk::TAAFadeText& banner);

}  // namespace quenlo::ui
