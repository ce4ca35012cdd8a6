// Small behaviours of the operator's web pages: the top-up choices and the service form.
// Nothing is ever sent anywhere: this is a demonstration site.
(function () {
  'use strict';

  function $(id) { return document.getElementById(id); }
  function each(list, fn) { Array.prototype.forEach.call(list, fn); }

  // ---------------------------------------------------------------- top-up page
  var packages = document.querySelectorAll('#packages .package');
  if (packages.length) {
    var serverSelect = $('pay-server');

    var summarise = function () {
      var chosen = document.querySelector('#packages .package.is-selected') || packages[0];
      var price = Number(chosen.getAttribute('data-price'));
      $('sum-gems').textContent = chosen.getAttribute('data-gems');
      $('sum-bonus').textContent = chosen.getAttribute('data-bonus');
      $('sum-price').textContent = '¥' + price.toFixed(2);
      var option = serverSelect.options[serverSelect.selectedIndex];
      $('sum-server').textContent = option ? option.textContent : '';
    };

    each(packages, function (card) {
      card.addEventListener('click', function () {
        each(packages, function (c) { c.classList.toggle('is-selected', c === card); });
        summarise();
      });
    });

    var methods = document.querySelectorAll('#methods .method');
    each(methods, function (label) {
      label.querySelector('input').addEventListener('change', function () {
        each(methods, function (l) { l.classList.toggle('is-selected', l.querySelector('input').checked); });
      });
    });

    // A link from the game may name the server: /pay?server=3
    try {
      var wanted = new URLSearchParams(window.location.search).get('server');
      each(serverSelect.options, function (o) { if (o.value === wanted && !o.disabled) serverSelect.value = wanted; });
    } catch (e) { /* keep the default */ }

    serverSelect.addEventListener('change', summarise);
    $('pay-form').addEventListener('submit', function (event) { event.preventDefault(); });
    summarise();
  }

  // ---------------------------------------------------------------- service page
  var contact = $('contact-form');
  if (contact) {
    contact.addEventListener('submit', function (event) {
      event.preventDefault();
      var result = $('contact-result');
      var text = contact.querySelector('textarea');
      if (!text.value.trim()) {
        result.textContent = '请先填写问题描述。';
      } else {
        result.textContent = '演示站点：留言没有被发送。正式站点会在 24 小时内通过您留下的联系方式回复。';
        contact.reset();
      }
      result.hidden = false;
    });
  }

  var search = $('faq-search');
  if (search) {
    search.addEventListener('submit', function (event) {
      event.preventDefault();
      var words = search.querySelector('input').value.trim();
      var hit = null;
      each(document.querySelectorAll('.faq details'), function (d) {
        var match = words && d.textContent.indexOf(words) !== -1;
        if (match && !hit) hit = d;
        d.open = !!match;
      });
      if (hit) hit.scrollIntoView({ behavior: 'smooth', block: 'center' });
    });
  }
})();
