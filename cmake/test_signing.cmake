# Signed test programs, so that the real signature check runs in the tests. Two throw-away code-signing
# certificates are made once per build tree, both in the maker's name: "trusted" is put into the test
# prefix's root store by the tests, "untrusted" never is.
#   suite_child_signed.exe          maker's program, signed with the trusted certificate
#   suite_child_vendor_signed.exe   program claiming another company, signed with the trusted certificate
#   suite_child_untrusted.exe       maker's program, signed with the untrusted certificate
#   suite_test_root.cer             the trusted certificate (DER) for the root store
find_program(SUITE_OPENSSL openssl)
find_program(SUITE_OSSLSIGNCODE osslsigncode)
if(NOT SUITE_OPENSSL OR NOT SUITE_OSSLSIGNCODE)
  message(WARNING "openssl or osslsigncode missing: the signed test programs are not made")
  return()
endif()

set(cert_dir ${CMAKE_BINARY_DIR}/testcert)
set(certs)
foreach(name trusted untrusted)
  add_custom_command(
    OUTPUT ${cert_dir}/${name}.pem ${cert_dir}/${name}.key
    COMMAND ${CMAKE_COMMAND} -E make_directory ${cert_dir}
    COMMAND ${SUITE_OPENSSL} req -x509 -newkey rsa:2048 -nodes -days 3650 -keyout ${cert_dir}/${name}.key
            -out ${cert_dir}/${name}.pem -subj "/O=Tolvark/CN=Tolvark test signing ${name}"
            -addext extendedKeyUsage=codeSigning
    VERBATIM)
  list(APPEND certs ${cert_dir}/${name}.pem)
endforeach()
add_custom_command(
  OUTPUT ${SUITE_BIN}/suite_test_root.cer
  COMMAND ${SUITE_OPENSSL} x509 -in ${cert_dir}/trusted.pem -outform DER -out ${SUITE_BIN}/suite_test_root.cer
  DEPENDS ${cert_dir}/trusted.pem
  VERBATIM)

set(signed ${SUITE_BIN}/suite_test_root.cer)
foreach(entry "suite_child_signed:suite_child_maker:trusted" "suite_child_vendor_signed:suite_child_vendor:trusted"
             "suite_child_untrusted:suite_child_maker:untrusted")
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 out)
  list(GET parts 1 program)
  list(GET parts 2 cert)
  add_custom_command(
    OUTPUT ${SUITE_BIN}/${out}.exe
    COMMAND ${CMAKE_COMMAND} -E rm -f ${SUITE_BIN}/${out}.exe
    COMMAND ${SUITE_OSSLSIGNCODE} sign -certs ${cert_dir}/${cert}.pem -key ${cert_dir}/${cert}.key -n "Suite test"
            -in $<TARGET_FILE:${program}> -out ${SUITE_BIN}/${out}.exe
    DEPENDS ${program} ${cert_dir}/${cert}.pem
    VERBATIM)
  list(APPEND signed ${SUITE_BIN}/${out}.exe)
endforeach()
add_custom_target(suite_signed ALL DEPENDS ${signed})
