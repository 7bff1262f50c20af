# End-to-end tests of the installation steps.

# Steps one and two that cannot start their program: the error at once, the failed state.
quenlo_e2e_test(e2e_steps_launch_faults steps_launch_faults_test.sh TIMEOUT 300)

# Tests that choose the prefix's data-access classes (or rely on Wine's own) hold this lock
# beside the display's.
quenlo_e2e_test(e2e_steps_restore_no_ado steps_restore_no_ado_test.sh TIMEOUT 300)
set_property(TEST e2e_steps_restore_no_ado APPEND PROPERTY RESOURCE_LOCK ado_registration)

# The whole installation with the real waits of steps one and two (two minutes at least).
quenlo_e2e_test(e2e_install_full install_full_test.sh TIMEOUT 900)
set_property(TEST e2e_install_full APPEND PROPERTY RESOURCE_LOCK ado_registration)
set_property(TEST e2e_install_full APPEND PROPERTY LABELS slow)
