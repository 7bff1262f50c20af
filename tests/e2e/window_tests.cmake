# End-to-end tests of the window and the banner.
