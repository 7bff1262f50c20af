# End-to-end tests of the window and the banner.
quenlo_e2e_test(e2e_window window_test.sh TIMEOUT 300)
quenlo_e2e_test(e2e_banner banner_test.sh TIMEOUT 300)
