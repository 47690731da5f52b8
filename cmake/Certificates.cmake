# A private CA and a localhost certificate for the local song service and the
# HTTPS test servers, made once per build tree.
set(cert_dir ${CMAKE_BINARY_DIR}/certs)
if(NOT EXISTS ${cert_dir}/localhost.pem)
  find_program(OPENSSL_COMMAND openssl REQUIRED)
  file(MAKE_DIRECTORY ${cert_dir})
  file(WRITE ${cert_dir}/localhost.ext
    "basicConstraints=CA:FALSE\nsubjectAltName=DNS:localhost,IP:127.0.0.1\nextendedKeyUsage=serverAuth\n")
  execute_process(
    COMMAND ${OPENSSL_COMMAND} req -x509 -newkey rsa:2048 -nodes -days 3650
            -subj "/CN=songpicker test CA" -keyout ca-key.pem -out ca.pem
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${cert_dir} OUTPUT_QUIET ERROR_QUIET)
  execute_process(
    COMMAND ${OPENSSL_COMMAND} req -newkey rsa:2048 -nodes -subj "/CN=localhost"
            -keyout localhost-key.pem -out localhost.csr
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${cert_dir} OUTPUT_QUIET ERROR_QUIET)
  execute_process(
    COMMAND ${OPENSSL_COMMAND} x509 -req -in localhost.csr -CA ca.pem -CAkey ca-key.pem
            -CAcreateserial -days 3650 -extfile localhost.ext -out localhost.pem
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${cert_dir} OUTPUT_QUIET ERROR_QUIET)
  # A second, untrusted CA signs a certificate that clients must refuse.
  execute_process(
    COMMAND ${OPENSSL_COMMAND} req -x509 -newkey rsa:2048 -nodes -days 3650
            -subj "/CN=localhost" -addext "subjectAltName=DNS:localhost,IP:127.0.0.1"
            -keyout untrusted-key.pem -out untrusted.pem
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${cert_dir} OUTPUT_QUIET ERROR_QUIET)
endif()
set(SONGPICKER_CERT_DIR ${cert_dir} CACHE INTERNAL "")
