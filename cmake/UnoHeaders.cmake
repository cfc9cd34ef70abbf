# The office's API headers are generated from its type libraries with the SDK's cppumaker: only the
# types named here and the types they depend on.
set(ZEP_LIBREOFFICE_PROGRAM /usr/lib/libreoffice/program)
set(ZEP_LIBREOFFICE_SDK /usr/lib/libreoffice/sdk)
set(ZEP_UNO_HEADERS ${CMAKE_BINARY_DIR}/uno_headers)

set(zep_uno_types
    com.sun.star.awt.XTopWindow
    com.sun.star.awt.XWindow
    com.sun.star.beans.NamedValue
    com.sun.star.beans.PropertyValue
    com.sun.star.beans.XPropertySet
    com.sun.star.bridge.BridgeFactory
    com.sun.star.bridge.UnoUrlResolver
    com.sun.star.bridge.XBridge
    com.sun.star.configuration.theDefaultProvider
    com.sun.star.connection.NoConnectException
    com.sun.star.container.XEnumeration
    com.sun.star.container.XEnumerationAccess
    com.sun.star.container.XNameAccess
    com.sun.star.frame.Desktop
    com.sun.star.frame.XComponentLoader
    com.sun.star.frame.XController
    com.sun.star.frame.XDesktop2
    com.sun.star.frame.XDispatch
    com.sun.star.frame.XDispatchProvider
    com.sun.star.frame.XFrame
    com.sun.star.frame.XModel
    com.sun.star.frame.XStorable
    com.sun.star.frame.XTerminateListener2
    com.sun.star.lang.DisposedException
    com.sun.star.lang.XComponent
    com.sun.star.lang.XEventListener
    com.sun.star.lang.XMultiServiceFactory
    com.sun.star.lang.XServiceInfo
    com.sun.star.lang.XTypeProvider
    com.sun.star.sdb.CommandType
    com.sun.star.sdb.DatabaseContext
    com.sun.star.sdb.XDocumentDataSource
    com.sun.star.sdb.XOfficeDatabaseDocument
    com.sun.star.sdbc.XConnection
    com.sun.star.sdbc.XDataSource
    com.sun.star.task.XJob
    com.sun.star.text.MailMergeType
    com.sun.star.text.XDependentTextField
    com.sun.star.text.XText
    com.sun.star.text.XTextDocument
    com.sun.star.text.XTextFieldsSupplier
    com.sun.star.text.XTextRange
    com.sun.star.uno.DeploymentException
    com.sun.star.uno.XAggregation
    com.sun.star.uno.XComponentContext
    com.sun.star.uno.XNamingService
    com.sun.star.uno.XWeak
    com.sun.star.util.URLTransformer
    com.sun.star.util.XCloseable
    com.sun.star.util.XModifiable)
set(zep_uno_type_options)
foreach(type IN LISTS zep_uno_types)
    list(APPEND zep_uno_type_options -T${type})
endforeach()

add_custom_command(
    OUTPUT ${ZEP_UNO_HEADERS}/stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZEP_UNO_HEADERS}/com
    COMMAND ${ZEP_LIBREOFFICE_SDK}/bin/cppumaker -Gc -O${ZEP_UNO_HEADERS} ${zep_uno_type_options}
            ${ZEP_LIBREOFFICE_PROGRAM}/types.rdb ${ZEP_LIBREOFFICE_PROGRAM}/types/offapi.rdb
    COMMAND ${CMAKE_COMMAND} -E touch ${ZEP_UNO_HEADERS}/stamp
    DEPENDS ${CMAKE_CURRENT_LIST_FILE} ${ZEP_LIBREOFFICE_PROGRAM}/types.rdb ${ZEP_LIBREOFFICE_PROGRAM}/types/offapi.rdb
    COMMENT "UNO-Header erzeugen"
    VERBATIM)
add_custom_target(zep_uno_headers DEPENDS ${ZEP_UNO_HEADERS}/stamp)

# Everything that includes the generated headers links this.
add_library(zep_uno INTERFACE)
add_dependencies(zep_uno zep_uno_headers)
target_include_directories(zep_uno SYSTEM INTERFACE ${ZEP_UNO_HEADERS} /usr/include/libreoffice)
target_compile_definitions(zep_uno INTERFACE LINUX UNX CPPU_ENV=gcc3)
target_link_directories(zep_uno INTERFACE ${ZEP_LIBREOFFICE_SDK}/lib)
target_link_libraries(zep_uno INTERFACE uno_cppu uno_cppuhelpergcc3 uno_sal uno_salhelpergcc3)
target_link_options(zep_uno INTERFACE -Wl,-rpath,${ZEP_LIBREOFFICE_PROGRAM})
