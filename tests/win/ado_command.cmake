# In-process tests of the command component under Wine, against the data-access stand-in (which
# the test registers and unregisters itself), Wine's own classes and missing classes.
quenlo_test(ado_command_test NO_MAIN LABELS wine ado TIMEOUT 300
            SOURCES ${CMAKE_CURRENT_LIST_DIR}/ado_command_test.cpp
            LIBS quenlo_toolkit ole32 oleaut32 uuid)
add_dependencies(ado_command_test adostub)
set_property(TEST ado_command_test APPEND PROPERTY ENVIRONMENT
             "QUENLO_ADOSTUB_DLL=Z:$<TARGET_FILE:adostub>")
# Whoever points the data-access ProgIDs elsewhere holds this lock while running.
set_property(TEST ado_command_test PROPERTY RESOURCE_LOCK ado_registration)
