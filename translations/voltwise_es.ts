<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About Voltwise...</source>
        <translation>Acerca de Voltwise...</translation>
    </message>
    <message>
        <source>Voltwise version %1</source>
        <translation>Voltwise versión %1</translation>
    </message>
</context>
<context>
    <name>Chart</name>
    <message>
        <source>%1: %2MW at %3</source>
        <translation>%1: %2 MW a las %3</translation>
    </message>
    <message>
        <source>Day-Ahead Demand Forecast</source>
        <translation>Pronóstico a un día</translation>
    </message>
    <message>
        <source>Hour-Ahead Demand Forecast</source>
        <translation>Pronóstico a una hora</translation>
    </message>
    <message>
        <source>Actual Demand</source>
        <translation>Demanda real</translation>
    </message>
    <message>
        <source>Available Resources</source>
        <translation>Recursos disponibles</translation>
    </message>
    <message>
        <source>Error in &apos;SetupOutlookInfo&apos; Subroutine</source>
        <translation>Error en la subrutina &apos;SetupOutlookInfo&apos;</translation>
    </message>
    <message>
        <source>Hour Ending</source>
        <translation>Hora final</translation>
    </message>
    <message>
        <source>MW</source>
        <translation>MW</translation>
    </message>
</context>
<context>
    <name>Condition</name>
    <message>
        <source>Status Unknown</source>
        <translation>Estado desconocido</translation>
    </message>
    <message>
        <source>System Normal</source>
        <translation>Sistema normal</translation>
    </message>
    <message>
        <source>Alert Notice</source>
        <translation>Alerta</translation>
    </message>
    <message>
        <source>Warning Notice</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Stage 1 Emergency</source>
        <translation>Emergencia de etapa 1</translation>
    </message>
    <message>
        <source>Stage 2 Emergency</source>
        <translation>Emergencia de etapa 2</translation>
    </message>
    <message>
        <source>Stage 3 Emergency</source>
        <translation>Emergencia de etapa 3</translation>
    </message>
    <message>
        <source>Emergency Load Reductions</source>
        <translation>Reducciones de carga de emergencia</translation>
    </message>
    <message>
        <source>Rolling Blackouts</source>
        <translation>Apagones rotativos</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Alert</source>
        <translation>Alerta</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>Stage-1</source>
        <translation>Etapa 1</translation>
    </message>
    <message>
        <source>Stage-2</source>
        <translation>Etapa 2</translation>
    </message>
    <message>
        <source>Stage-3</source>
        <translation>Etapa 3</translation>
    </message>
    <message>
        <source>48-Hour</source>
        <translation>48 horas</translation>
    </message>
    <message>
        <source>24-Hour</source>
        <translation>24 horas</translation>
    </message>
    <message>
        <source>1-Hour</source>
        <translation>1 hora</translation>
    </message>
    <message>
        <source>Current California Power Grid System Conditions</source>
        <translation>Condiciones actuales de la red eléctrica de California</translation>
    </message>
    <message>
        <source>Current level</source>
        <translation>Nivel actual</translation>
    </message>
    <message>
        <source>Not the current level</source>
        <translation>No es el nivel actual</translation>
    </message>
    <message>
        <source>Current forecast notice</source>
        <translation>Aviso de pronóstico actual</translation>
    </message>
    <message>
        <source>Not the current forecast notice</source>
        <translation>No es el aviso de pronóstico actual</translation>
    </message>
</context>
<context>
    <name>Conditions</name>
    <message>
        <source>Current Load: %1</source>
        <translation>Carga actual: %1</translation>
    </message>
    <message>
        <source>Updated: %1</source>
        <translation>Actualizado: %1</translation>
    </message>
    <message>
        <source>Not Updated</source>
        <translation>Sin actualizar</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconocida</translation>
    </message>
    <message>
        <source>Undetermined</source>
        <translation>Sin determinar</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 a %2</translation>
    </message>
    <message>
        <source>Current Load Reductions</source>
        <translation>Reducciones de carga actuales</translation>
    </message>
    <message>
        <source>None Required</source>
        <translation>No se requieren</translation>
    </message>
    <message>
        <source>Forecasted Load Reductions</source>
        <translation>Reducciones de carga pronosticadas</translation>
    </message>
    <message>
        <source>Not published by the grid operator</source>
        <translation>No publicado por el operador de la red</translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>Resolving host...</source>
        <translation>Resolviendo el servidor...</translation>
    </message>
    <message>
        <source>Host resolved</source>
        <translation>Servidor resuelto</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Conectando...</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Conectado</translation>
    </message>
    <message>
        <source>Requesting...</source>
        <translation>Enviando la solicitud...</translation>
    </message>
    <message>
        <source>Request sent</source>
        <translation>Solicitud enviada</translation>
    </message>
    <message>
        <source>Receiving response...</source>
        <translation>Recibiendo la respuesta...</translation>
    </message>
    <message>
        <source>Response received</source>
        <translation>Respuesta recibida</translation>
    </message>
    <message>
        <source>Disconnecting...</source>
        <translation>Desconectando...</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Desconectado</translation>
    </message>
    <message>
        <source>Error #%1: %2</source>
        <translation>Error n.º %1: %2</translation>
    </message>
    <message>
        <source>Response Completed</source>
        <translation>Respuesta completa</translation>
    </message>
</context>
<context>
    <name>Links</name>
    <message>
        <source>California ISO Home</source>
        <translation>California ISO: página principal</translation>
    </message>
    <message>
        <source>California ISO Current System Conditions</source>
        <translation>California ISO: condiciones actuales del sistema</translation>
    </message>
    <message>
        <source>California ISO System Conditions</source>
        <translation>California ISO: condiciones del sistema</translation>
    </message>
    <message>
        <source>Voltwise Home</source>
        <translation>Voltwise: página principal</translation>
    </message>
    <message>
        <source>Voltwise &amp;Home</source>
        <translation>Voltwise: &amp;página principal</translation>
    </message>
    <message>
        <source>Pacific Gas &amp;&amp; Electric Home</source>
        <translation>Pacific Gas &amp;&amp; Electric: página principal</translation>
    </message>
    <message>
        <source>PG&amp;&amp;E Blackout Information</source>
        <translation>PG&amp;&amp;E: información sobre apagones</translation>
    </message>
    <message>
        <source>Southern California Edison Home</source>
        <translation>Southern California Edison: página principal</translation>
    </message>
    <message>
        <source>SCE Blackout Information</source>
        <translation>SCE: información sobre apagones</translation>
    </message>
    <message>
        <source>San Diego Gas &amp;&amp; Electric Home</source>
        <translation>San Diego Gas &amp;&amp; Electric: página principal</translation>
    </message>
    <message>
        <source>SDG&amp;&amp;E Blackout Information</source>
        <translation>SDG&amp;&amp;E: información sobre apagones</translation>
    </message>
</context>
<context>
    <name>MainFace</name>
    <message>
        <source>Current System Conditions</source>
        <translation>Condiciones actuales del sistema</translation>
    </message>
    <message>
        <source>Show Details</source>
        <translation>Mostrar detalles</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Conditions</source>
        <translation>Condiciones</translation>
    </message>
    <message>
        <source>Notices</source>
        <translation>Avisos</translation>
    </message>
    <message>
        <source>Forecasts</source>
        <translation>Pronósticos</translation>
    </message>
    <message>
        <source>Daily System Load Graph</source>
        <translation>Gráfico diario de la carga del sistema</translation>
    </message>
    <message>
        <source>Current Active Notices</source>
        <translation>Avisos activos actuales</translation>
    </message>
    <message>
        <source>Forecasted Notifications</source>
        <translation>Notificaciones pronosticadas</translation>
    </message>
</context>
<context>
    <name>Menus</name>
    <message>
        <source>&amp;Graph</source>
        <translation>&amp;Gráfico</translation>
    </message>
    <message>
        <source>Are you sure you want to exit Voltwise?</source>
        <translation>¿Seguro que desea salir de Voltwise?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Update Now</source>
        <translation>&amp;Actualizar ahora</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>&amp;Conditions</source>
        <translation>&amp;Condiciones</translation>
    </message>
    <message>
        <source>&amp;Notices</source>
        <translation>&amp;Avisos</translation>
    </message>
    <message>
        <source>&amp;Forecasts</source>
        <translation>&amp;Pronósticos</translation>
    </message>
    <message>
        <source>&amp;Always on Top</source>
        <translation>&amp;Siempre visible</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Herramientas</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Opciones...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>Voltwise &amp;Help (online)...</source>
        <translation>&amp;Ayuda de Voltwise (en línea)...</translation>
    </message>
    <message>
        <source>&amp;Check for Voltwise Updates...</source>
        <translation>&amp;Buscar actualizaciones de Voltwise...</translation>
    </message>
    <message>
        <source>&amp;About Voltwise...</source>
        <translation>A&amp;cerca de Voltwise...</translation>
    </message>
    <message>
        <source>&amp;Details...</source>
        <translation>&amp;Detalles...</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Opciones...</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>A&amp;yuda...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Acerca de...</translation>
    </message>
</context>
<context>
    <name>Notice</name>
    <message>
        <source>Click here for details...</source>
        <translation>Haga clic para ver detalles...</translation>
    </message>
</context>
<context>
    <name>Update</name>
    <message>
        <source>A new version of App.ProductName is available!</source>
        <translation>¡Hay una nueva versión de App.ProductName disponible!</translation>
    </message>
    <message>
        <source>App.ProductName App.ReleaseVersion is now available - you have App.CurrentVersion. Would you like to download the new version now?</source>
        <translation>App.ProductName App.ReleaseVersion ya está disponible; usted tiene la App.CurrentVersion. ¿Desea descargar la nueva versión ahora?</translation>
    </message>
    <message>
        <source>You&apos;re running a pre-relase version!</source>
        <translation>¡Está usando una versión preliminar!</translation>
    </message>
    <message>
        <source>%1 is actually *newer* than the current offical release.</source>
        <translation>%1 es en realidad *más reciente* que la versión oficial actual.</translation>
    </message>
    <message>
        <source>You&apos;re up to date!</source>
        <translation>¡Está al día!</translation>
    </message>
    <message>
        <source>%1 is currently the newest version available.</source>
        <translation>%1 es la versión más reciente disponible.</translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation>Actualización de software</translation>
    </message>
    <message>
        <source>%1 could not open the download address in your browser.</source>
        <translation>%1 no pudo abrir la dirección de descarga en su navegador.</translation>
    </message>
    <message>
        <source>%1 could not open the download address on %2 in your browser.</source>
        <translation>%1 no pudo abrir en su navegador la dirección de descarga en %2.</translation>
    </message>
</context>
<context>
    <name>voltwise::ConditionsPanel</name>
    <message>
        <source>Total Interruptions:</source>
        <translation>Interrupciones totales:</translation>
    </message>
    <message>
        <source>PG&amp;E Service Territory:</source>
        <translation>Territorio de servicio de PG&amp;E:</translation>
    </message>
    <message>
        <source>SCE Service Territory:</source>
        <translation>Territorio de servicio de SCE:</translation>
    </message>
    <message>
        <source>SDG&amp;E Service Territory:</source>
        <translation>Territorio de servicio de SDG&amp;E:</translation>
    </message>
    <message>
        <source>Pasadena Municipal Utility:</source>
        <translation>Servicio municipal de Pasadena:</translation>
    </message>
    <message>
        <source>Vernon Municipal Utility:</source>
        <translation>Servicio municipal de Vernon:</translation>
    </message>
    <message>
        <source>Current Available Resources:</source>
        <translation>Recursos disponibles actuales:</translation>
    </message>
    <message>
        <source>Current System Load:</source>
        <translation>Carga actual del sistema:</translation>
    </message>
    <message>
        <source>Surplus or Shortfall:</source>
        <translation>Superávit o déficit:</translation>
    </message>
    <message>
        <source>Today&apos;s Actual Peak:</source>
        <translation>Pico real de hoy:</translation>
    </message>
    <message>
        <source>Today&apos;s Forecasted Peak:</source>
        <translation>Pico pronosticado para hoy:</translation>
    </message>
    <message>
        <source>Tomorrow&apos;s Forecasted Peak:</source>
        <translation>Pico pronosticado para mañana:</translation>
    </message>
    <message>
        <source>Current Conditions</source>
        <translation>Condiciones actuales</translation>
    </message>
    <message>
        <source>Not updated</source>
        <translation>Sin actualizar</translation>
    </message>
    <message>
        <source>Forecasted Load Reductions</source>
        <translation>Reducciones de carga pronosticadas</translation>
    </message>
</context>
<context>
    <name>voltwise::MainWindow</name>
    <message>
        <source>Updating...</source>
        <translation>Actualizando...</translation>
    </message>
    <message>
        <source>Grid operator: %1</source>
        <translation>Operador de la red: %1</translation>
    </message>
    <message>
        <source>Voltwise Notice</source>
        <translation>Aviso de Voltwise</translation>
    </message>
</context>
<context>
    <name>voltwise::OptionsDialog</name>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Automatically check status every</source>
        <translation>Consultar el estado automáticamente cada</translation>
    </message>
    <message>
        <source>minutes.</source>
        <translation>minutos.</translation>
    </message>
    <message>
        <source>Play sound when status changes</source>
        <translation>Reproducir un sonido cuando cambie el estado</translation>
    </message>
    <message>
        <source>Show main window when Voltwise launches</source>
        <translation>Mostrar la ventana principal al iniciar Voltwise</translation>
    </message>
    <message>
        <source>Run Voltwise when I log in</source>
        <translation>Iniciar Voltwise al iniciar sesión</translation>
    </message>
    <message>
        <source>Alert me to Voltwise updates.</source>
        <translation>Avisarme de las actualizaciones de Voltwise.</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Gráfico</translation>
    </message>
    <message>
        <source>Show an interactive graph (preferred because it allows the user to pick the variables to display)</source>
        <translation>Mostrar un gráfico interactivo (preferible, porque permite elegir los datos que se muestran)</translation>
    </message>
    <message>
        <source>Show a static &quot;picture&quot; graph (more compatable with unforseen changes to the CAISO website)</source>
        <translation>Mostrar un gráfico estático como &quot;imagen&quot; (más compatible con cambios imprevistos del sitio web de CAISO)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>voltwise::SoftwareUpdateDialog</name>
    <message>
        <source>Software Update</source>
        <translation>Actualización de software</translation>
    </message>
    <message>
        <source>Release Notes:</source>
        <translation>Notas de la versión:</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Omitir versión</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Más tarde</translation>
    </message>
    <message>
        <source>Download Update</source>
        <translation>Descargar</translation>
    </message>
</context>
</TS>
