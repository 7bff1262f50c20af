# End-to-end tests of the installation steps.
