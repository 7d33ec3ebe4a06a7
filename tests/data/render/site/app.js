// Builds the whole home page: its title, its text and every link.
document.title = 'Garden notes';
document.getElementById('app').innerHTML =
    '<h1>Welcome</h1><p>We recieve visitors every spring.</p>' +
    '<a href="article.html">Article</a> <a href="from-json.html">News</a> ' +
    '<a href="throws.html">Broken</a> <a href="unsettled.html">Live</a> ' +
    '<a href="elsewhere.html">Elsewhere</a>';
