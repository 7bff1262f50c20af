# In-process test of the fade-text banner under Wine on a plain test window: glyphs from GDI through
# the pixel pipeline, the form's timers, and the status-line update.
quenlo_test(banner_fadetext_test LABELS win banner TIMEOUT 300
            SOURCES ${CMAKE_CURRENT_LIST_DIR}/banner_fadetext_test.cpp
            LIBS quenlo_ui)
