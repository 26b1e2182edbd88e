<?php
// Today's specials come from a small text file.
$specials = file("specials.txt");
?>
<html>
<head>
	<title>News</title>
</head>
<body>
	<h2>Today's specials</h2>

	<ul>
	<?php foreach ($specials as $line) { ?>
		<li>  <?php echo htmlspecialchars(trim($line)); ?>  </li>
	<?php } ?>
	</ul>

	<p align="center"><font size="2" color="#808080">Prices   include   VAT.</font></p>
	<% ' an old ASP fragment that must stay as it is %>
	<cfoutput>#DateFormat(Now(), "dd.mm.yyyy")#</cfoutput>
</body>
</html>
